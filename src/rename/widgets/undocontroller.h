#pragma once
// The way back from the last execution (Undo1), and the question an execution asks when its
// record can't be written.
#include "filelist/liststate.h"
#include "platform/renameways.h"
#include "ui/messages.h"

#include <QObject>

class QAction;
class QLabel;
class FolderController;
enum class RecordSave;

class UndoController : public QObject {
    Q_OBJECT
public:
    UndoController(QAction* undo1, QLabel* actlabel, ListState& list, FolderController& folders,
                   Teller tell, platform::RenameWays ways);

    // At start: what a run cut short left behind comes back, then Refresh.
    void StartUp();
    // Undo1 follows the record on disk: an execution of an earlier session can be undone.
    void Refresh();
    // After an execution: recordHoldsRun when its own record was written and it renamed
    // something, so no second reading is needed.
    void AfterExecution(bool recordHoldsRun);
    // Asks whether to execute although the undo record could not be written; true for
    // "はい(&Y)". Says no without asking (after its box) while another program holds the
    // records' lock.
    bool GoOnWithoutUndoRecord(RecordSave saved);

    void Undo1Click();

private:
    QAction* Undo1;
    QLabel* actlabel;
    ListState& list_;
    FolderController& folders_;
    Teller tell_;
    platform::RenameWays ways_;
};
