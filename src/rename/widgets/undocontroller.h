#pragma once
// The way back through the history of executions: Undo1, Redo1 and what the history window
// takes back, and the question an execution asks when its record can't be written.
#include "filelist/liststate.h"
#include "platform/renameways.h"
#include "ui/messages.h"

#include <QObject>
#include <QStringList>

class QAction;
class QLabel;
class FolderController;
struct HistoryItem;
struct HistoryStep;
enum class RecordSave;

class UndoController : public QObject {
    Q_OBJECT
public:
    UndoController(QAction* undo1, QAction* redo1, QLabel* actlabel, ListState& list, FolderController& folders,
                   Teller tell, platform::RenameWays ways);

    // At start: what a run cut short left behind comes back, then Refresh.
    void StartUp();
    // Undo1 and Redo1 follow the history on disk, also of earlier sessions.
    void Refresh();
    // After an execution: recordHoldsRun when its own record was written and it renamed
    // something, so no second reading is needed.
    void AfterExecution(bool recordHoldsRun);
    // Asks whether to execute although the undo record could not be written; true for
    // "はい(&Y)". Says no without asking (after its box) while another program holds the
    // records' lock.
    bool GoOnWithoutUndoRecord(RecordSave saved);

    void Undo1Click();
    void Redo1Click();
    // The history window's rows, newest first.
    QStringList HistoryRows();
    // Takes back, newest first, every execution down to the row's, stopping after the first
    // that does not come back whole.
    void UndoDownTo(int row);

private:
    // One execution taken back or renamed again, with the progress dialog.
    HistoryStep Step(const HistoryItem& item, bool redo);
    static std::string ClosingText(const HistoryStep& step, bool redo);
    // Takes one execution back; its closing text (empty: its record was damaged), and whole
    // when every file came back.
    std::string UndoOne(const HistoryItem& item, bool& whole);
    // Opens the record's folder in the lists, or throws the error of a folder that can't be
    // opened.
    void OpenFolderOf(const std::string& folder);
    void Finish(const std::string& text);

    QAction* Undo1;
    QAction* Redo1;
    QLabel* actlabel;
    ListState& list_;
    FolderController& folders_;
    Teller tell_;
    platform::RenameWays ways_;
};
