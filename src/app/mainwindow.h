#pragma once
// The main window: it builds its controls, hands each feature's controller the few it uses,
// and connects their events in one table. The program's state lives in the list state and the
// settings owner, not in the widgets.
#include "app/maincontrols.h"
#include "app/services.h"
#include "filelist/liststate.h"
#include "rename/renameinputs.h"
#include "settings/presets.h"
#include "settings/programsettings.h"
#include "settings/widgets/optionshost.h"

#include <QMainWindow>
#include <QStringList>
#include <memory>
#include <string>

class TAbout;
class TOption;
class THistory;
class FolderController;
class ListController;
class DeleteController;
class RenameController;
class UndoController;
class PreviewController;
class PresetMenu;

class TMain : public QMainWindow, public OptionsHost {
    Q_OBJECT
    Q_PROPERTY(QString StartFolder READ startFolderText)
    Q_PROPERTY(QString ProgramFolder READ programFolderText)
    Q_PROPERTY(QString ExtLowerCase READ extLowerCaseText)
    Q_PROPERTY(QString JpegToJpg READ jpegToJpgText)
    Q_PROPERTY(QString ViewerPath READ viewerPathText)
    Q_PROPERTY(QStringList SettingsLines READ settingsLinesText)
    Q_PROPERTY(int PreviewIndex READ previewIndex)
public:
    // programFolder: the executable's folder; the start-up sequence runs here, and everything
    // outside the window goes through services.
    explicit TMain(const std::string& programFolder, AppServices services = {},
                   QWidget* parent = nullptr);
    ~TMain() override;

    QString startFolderText() const;
    QString programFolderText() const;
    QString extLowerCaseText() const;
    QString jpegToJpgText() const;
    QString viewerPathText() const;
    QStringList settingsLinesText() const;
    int previewIndex() const { return List.PreviewIndex(); }

    ProgramSettings& Settings() { return Config; }
    RenameInputs& Inputs() { return Naming; }
    // The dialogs the menu opens; they exist only after the main window.
    void SetDialogs(TAbout* about, TOption* option, THistory* history);

    // What the dialogs need of the main window.
    QWidget* HostWindow() override { return this; }
    std::string ShownFolder() const override { return List.Folder(); }
    FolderNavigation& Folders() override;
    void OpenSavedFolder(const std::string& path) override;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    // Start-up and layout.
    void BuildControls();
    void BuildMenus();
    void MakeControllers();
    void ConnectHandlers();
    void FormCreate();
    void FormResize();
    void Splitter1Moved();
    // Moves the splitter strip by dx pixels, as a drag by the user does.
    void DragSplitter(int dx);

    // The menu entries that open the dialogs and the help, and the way out.
    void Object1Click();
    void Contents1Click();
    void About1Click();
    void History1Click();
    void Exit1Click();

    // Fields: the window's own names are PascalCase, the controls keep their objectNames.
    AppServices Services;
    ProgramSettings Config;
    ListState List;
    RenameInputs Naming;
    PresetList Presets;
    MainControls C;
    FolderController* FolderFeature = nullptr;
    ListController* ListFeature = nullptr;
    DeleteController* DeleteFeature = nullptr;
    UndoController* UndoFeature = nullptr;
    RenameController* RenameFeature = nullptr;
    PreviewController* PreviewFeature = nullptr;
    PresetMenu* PresetFeature = nullptr;
    TAbout* About = nullptr;
    TOption* Option = nullptr;
    THistory* History = nullptr;
};
