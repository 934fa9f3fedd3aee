#include "rename/historyrun.h"

#include "rename/history.h"

HistoryStep UndoExecution(HistoryItem item, const UndoHooks& hooks, const BeforeStep& before)
{
    HistoryStep step;
    step.RecordPath = HistoryRecordPath(item);
    const std::optional<UndoRecord> record = LoadHistoryRecord(item);
    if (!record) {
        SetAsideDamaged(item);
        return step;
    }
    step.Found = true;
    // A folder made in place of the execution's keeps the record for another try.
    CheckUndoFolder(*record);
    if (before)
        before(*record);
    MarkRunStarted();
    step.Run = UndoRenames(*record, hooks);
    // A record that can't be changed, taken back all the way, is never offered again for an
    // undo that would do nothing.
    std::vector<UndoEntry> back = step.Run.Back;
    if (item.Redoable)
        if (const std::optional<UndoRecord> earlier = LoadHistoryBack(item))
            back.insert(back.end(), earlier->Entries.begin(), earlier->Entries.end());
    const bool whole = step.Run.Left.empty();
    UndoRecord kept = *record;
    kept.Entries = step.Run.Left;
    const TakenBack state = whole ? TakenBack::Wholly : step.Run.Restored > 0 ? TakenBack::Partly : item.State;
    step.Changed = UpdateHistory(item, kept, std::move(back), state);
    if (whole && !step.Changed)
        MarkHistorySpent(item);
    if (whole)
        MarkRunEnded();
    return step;
}

HistoryStep RedoExecution(HistoryItem item, const UndoHooks& hooks, const BeforeStep& before)
{
    HistoryStep step;
    step.RecordPath = HistoryRecordPath(item);
    const std::optional<UndoRecord> back = LoadHistoryBack(item);
    if (!back)
        return step;
    step.Found = true;
    CheckUndoFolder(*back);
    if (before)
        before(*back);
    // In the order the execution renamed them: after the files still to take back.
    std::optional<UndoRecord> record = LoadHistoryRecord(item);
    if (!record) {
        record = *back;
        record->Entries.clear();
    }
    // Whatever the redo gets done before a crash can be taken back: every file it may rename
    // is among those to take back first (an undo passes over the ones not under their new name).
    UndoRecord pending = *record;
    pending.Entries.insert(pending.Entries.end(), back->Entries.begin(), back->Entries.end());
    PendRedo(item, pending);
    MarkRunStarted();
    step.Run = RedoRenames(*back, hooks);
    const bool whole = step.Run.Left.empty();
    const TakenBack state = step.Run.Back.empty() ? item.State : whole ? TakenBack::No : TakenBack::Partly;
    record->Entries.insert(record->Entries.end(), step.Run.Back.begin(), step.Run.Back.end());
    step.Changed = UpdateHistory(item, *record, step.Run.Left, state);
    if (whole)
        MarkRunEnded();
    return step;
}
