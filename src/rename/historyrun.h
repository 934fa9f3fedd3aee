#pragma once
// One step through the history: an execution taken back, or renamed again, with the history
// updated for exactly what the step did. Callers hold the records' lock (LockRecords).
#include "rename/historylist.h"
#include "rename/undo.h"

#include <functional>
#include <string>

struct HistoryStep {
    bool Found = false; // false: the record was damaged (set aside) or is gone
    UndoOutcome Run;
    bool Changed = true; // the history's files could be updated
    std::string RecordPath;
};

// Called with the record once its folder is known to be the execution's own, before any
// rename (the window opens that folder).
using BeforeStep = std::function<void(const UndoRecord&)>;

// A redo cut by a crash: the files it renamed join those to take back, the rest stay to redo.
// False while the folder can't be reached.
bool FinishCutRedo(HistoryItem& item);

// Takes the execution back (UndoRenames); the files that came back wait for a redo, the others
// stay to be taken back. Throws EFileError as CheckUndoFolder.
HistoryStep UndoExecution(HistoryItem item, const UndoHooks& hooks, const BeforeStep& before);
// Renames again what was taken back of the execution (RedoRenames); the files renamed join
// those to take back, after them. Throws EFileError as CheckUndoFolder.
HistoryStep RedoExecution(HistoryItem item, const UndoHooks& hooks, const BeforeStep& before);
