#pragma once
// Renaming: the option controls, which show and edit the rename inputs, the trial run and
// the execution. The names and the selection come from the list state; the trial rows go
// there; the values the names are formed from come from the rename inputs alone.
#include "filelist/liststate.h"
#include "platform/renameways.h"
#include "rename/capturenames.h"
#include "rename/companions.h"
#include "rename/naming.h"
#include "rename/renameinputs.h"
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
    QAction* DayCounter1;
    QAction* ClockOffset1;
};

class RenameController : public QObject {
    Q_OBJECT
public:
    RenameController(RenameControls controls, RenameInputs& inputs, ListState& list, ProgramSettings& settings,
                     FolderController& folders, UndoController& undo, Teller tell,
                     platform::RenameWays ways);

    // The options of pelkorin.conf as the start values of their inputs.
    void ShowKeptOptions();
    // The start values of the inputs from the settings file (hasFile: it held settings) and
    // its base number (Ver09 files only).
    void ShowStartSettings(const SettingsValues& s, bool hasFile);
    // Sets every input as a preset holds it and stores the options kept across starts.
    void ApplyPreset(const RenameInputValues& values);

    // Handlers.
    void Button6Click();
    void Button7Click();
    void Check1Click();
    void Check2Click();
    void Check3Click();
    void Check4Click();
    void UpDown1Click();
    void OldFileClick();
    void TextvolChanged();
    void Text2Changed();
    void Edit4Changed();
    void Companions1Click(bool on);
    void CaptureName1Click(bool on);
    void DayCounter1Click(bool on);
    void ClockOffset1Click();

signals:
    // A trial run begins: the picture makes room.
    void pictureToHide();
    // The trial rows are shown: they scroll to the list's top row.
    void trialShown();

private:
    // Greys the rows of the last trial run once anything they were made from changes: the
    // selection or order of the list, an input of the names or an extension flag.
    void WatchTrialInputs();
    void TrialInputChanged();
    // The controls as the inputs stand; each control changed runs its own handler.
    void ShowInputs();
    // The options kept in pelkorin.conf, stored as the inputs stand. Throws EFileError.
    void StoreKeptOptions();
    // The files renamed together, and the options with each photo's text part when names
    // come from capture times (rows without what they need in noTime) and the day counter's restarts.
    FileGroups Groups(const RunStart& start) const;
    RenameOptions RunOptions(const RunStart& start, const FileGroups& groups, std::vector<CaptureMark>* noTime);
    // The opening both runs share; false when nothing is selected (the user was told).
    bool StartRun(RunStart& start, bool hidePicture);

    RenameControls c_;
    RenameInputs& inputs_;
    ListState& list_;
    ProgramSettings& settings_;
    FolderController& folders_;
    UndoController& undo_;
    Teller tell_;
    platform::RenameWays ways_;
};
