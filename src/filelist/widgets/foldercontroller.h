#pragma once
// Folders: the drive box, the folder list, the refresh, the step to the next folder and the
// open dialog. Every change of folder reads the listing into the list state.
//
// Quiet recovery: a drive or folder that can't be opened or listed while the drive changes,
// while the listing is read (folder change, refresh, re-read after a run) or while stepping to
// the next folder sends the lists back to the program's folder without a message; should that
// fail too, the list shows nothing rather than stale names. Everything else that fails here
// reaches the window's error box.
#include "filelist/liststate.h"
#include "filelist/navigation.h"
#include "platform/volumes.h"

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QFileDialog;
class QWidget;
class FolderListView;

struct FolderControls {
    QWidget* Window;
    QComboBox* Drive1;
    FolderListView* Dir1;
};

class FolderController : public QObject {
    Q_OBJECT
public:
    using VolumeSource = std::function<std::vector<platform::Volume>()>;
    FolderController(FolderControls controls, ListState& list, VolumeSource volumes);

    // The folder the lists go back to when another can't be opened.
    void SetRecoveryFolder(std::string folder) { recoveryFolder_ = std::move(folder); }
    // The volumes and the folder last visited on each: one memory for every window.
    FolderNavigation& Navigation() { return navigation_; }

    void FillDriveList();
    // Switches Dir1 to a path and runs Dir1Change when the folder changed. Throws EFileError.
    void SwitchFolder(const std::string& path);
    // Selects a volume in Drive1 and runs Drive1Change.
    void SetDriveOf(const std::string& folder);
    // Both: opens a folder and its volume, as the open dialog does. Throws EFileError.
    void Open(const std::string& path);
    // Reads the listing again into the list state; false when it went back to the program's
    // folder instead.
    bool ReadListing();

    // Handlers.
    void Drive1Change();
    void Dir1Change();
    void Dir1RowOpened(int row);
    void Button11Click();
    void Button5Click();
    void Open1Click();

private:
    // Shows the volume of a folder in Drive1 without running Drive1Change.
    void ShowDriveOf(const std::string& folder);
    void RecoverToProgramFolder();
    // Dir1 switched: the list state follows.
    void Switched();

    FolderControls c_;
    ListState& list_;
    VolumeSource volumes_;
    FolderNavigation navigation_;
    std::string recoveryFolder_;
    QFileDialog* openDialog_ = nullptr;
    bool recovering_ = false;
};
