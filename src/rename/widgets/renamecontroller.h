#pragma once
// Renaming: the option controls the new names are formed from, the trial run and the
// execution. The names and the selection come from the list state; the trial rows go there.
#include "filelist/liststate.h"
#include "platform/renameways.h"
#include "rename/companions.h"
#include "rename/naming.h"
#include "settings/programsettings.h"
#include "ui/messages.h"

#include <QObject>
#include <QString>
#include <string>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class DigitSpinBox;
class FolderController;
class UndoController;
struct RunStart;

struct RenameControls {
    QCheckBox *Check1, *Check2, *Check3, *Check4;
    QLineEdit* textvol;
    QLineEdit* edit2;
    DigitSpinBox* UpDown1;
    QLineEdit* text2;
    QLineEdit* Edit4;
    QLabel* actlabel;
    QAction* Companions1;
    QAction* CaptureName1;
};

class RenameController : public QObject {
    Q_OBJECT
public:
    RenameController(RenameControls controls, ListState& list, ProgramSettings& settings,
                     FolderController& folders, UndoController& undo, Teller tell,
                     platform::RenameWays ways);

    // The start values of the option controls, from the settings file (hasFile: it held
    // settings) and its base number (Ver09 files only).
    void ShowStartSettings(const SettingsValues& s, bool hasFile);
    // Sets the check boxes, the digit count and the extension flags as "登録" of the options
    // dialog does, each check box through its click handler.
    void ApplySavedOptions(const SettingsValues& values);
    QString BaseNumberText() const;
    int DigitCountValue() const;

    // Handlers.
    void Button6Click();
    void Button7Click();
    void Check1Click();
    void Check2Click();
    void Check3Click();
    void Check4Click();
    void UpDown1Click();
    void OldFileClick();
    void TextvolEdited();
    void Companions1Click(bool on);
    void CaptureName1Click(bool on);

signals:
    // A trial run begins: the picture makes room.
    void pictureToHide();
    // The trial rows are shown: they scroll to the list's top row.
    void trialShown();

private:
    // Greys the rows of the last trial run once anything they were made from changes: the
    // selection or order of the list, or an input of the names. Every such input is connected
    // here, in one place; a new option the names depend on joins here.
    void WatchTrialInputs();
    void TrialInputChanged();
    // The replacement text: the raw bytes OldFileClick put there, unless the user edited it.
    std::string TextvolBytes() const;
    void SetTextvolBytes(const std::string& bytes);
    RenameOptions CurrentOptions(int digitCount) const;
    // The files renamed together, and the options with each photo's text part when names
    // come from capture times (rows without one in noTime).
    FileGroups Groups(const RunStart& start) const;
    RenameOptions RunOptions(const RunStart& start, const FileGroups& groups, std::vector<bool>* noTime);
    // The opening both runs share; false when nothing is selected (the user was told).
    bool StartRun(RunStart& start, bool hidePicture);

    RenameControls c_;
    ListState& list_;
    ProgramSettings& settings_;
    FolderController& folders_;
    UndoController& undo_;
    Teller tell_;
    platform::RenameWays ways_;
    std::string textvolRaw_;
    QString textvolRawShown_;
};
