#include "rename/historyrun.h"

#include "base/errors.h"
#include "platform/filesystem.h"
#include "rename/history.h"
#include "rename/undorepair.h"

#include <unordered_set>

bool FinishCutRedo(HistoryItem& item)
{
    if (!item.Redoing)
        return true;
    const std::optional<UndoRecord> back = LoadHistoryBack(item);
    std::optional<UndoRecord> record = LoadHistoryRecord(item);
    if (!back || !record)
        return record && UpdateHistory(item, *record, {}, item.State);
    try {
        CheckUndoFolder(*back);
    } catch (const EFileError&) {
        return false; // not reachable now: the flag stays for a later look
    }
    // A file left under one of the redo's temporary names goes back to its old name first;
    // then the files under their new name are the ones the cut redo renamed.
    const platform::FolderHandle folder(back->Folder);
    const std::vector<std::string> names = folder.AllNames();
    std::unordered_set<std::string> listed(names.begin(), names.end());
    const bool loose = back->LooseIdentity || folder.LooseIdentity();
    RepairCutRun(folder, *back, loose, listed, {});
    std::vector<UndoEntry> left;
    for (const UndoEntry& e : back->Entries) {
        const auto id = listed.count(e.NewName) ? folder.IdentityOf(e.NewName) : std::nullopt;
        if (id && IsRecordedFile(*id, e, loose))
            record->Entries.push_back(e);
        else
            left.push_back(e);
    }
    return UpdateHistory(item, *record, std::move(left), TakenBack::Partly);
}

HistoryStep UndoExecution(HistoryItem item, const UndoHooks& hooks, const BeforeStep& before)
{
    HistoryStep step;
    FinishCutRedo(item);
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
    const bool whole = step.Run.Left.empty();
    UndoRecord kept = *record;
    kept.Entries = step.Run.Left;
    if (!record->Entries.empty() && step.Run.Back.size() == record->Entries.size() && !item.Redoable) {
        // Everything came back: the record as it is holds what a redo renames again.
        step.Changed = MoveRecordToBack(item, kept);
    } else {
        std::vector<UndoEntry> back = std::move(step.Run.Back);
        if (item.Redoable)
            if (const std::optional<UndoRecord> earlier = LoadHistoryBack(item))
                back.insert(back.end(), earlier->Entries.begin(), earlier->Entries.end());
        const TakenBack state = whole ? TakenBack::Wholly : step.Run.Restored > 0 ? TakenBack::Partly : item.State;
        step.Changed = UpdateHistory(item, kept, std::move(back), state);
    }
    if (whole && !step.Changed)
        MarkHistorySpent(item);
    if (whole)
        MarkRunEnded();
    return step;
}

HistoryStep RedoExecution(HistoryItem item, const UndoHooks& hooks, const BeforeStep& before)
{
    HistoryStep step;
    FinishCutRedo(item);
    step.RecordPath = HistoryRecordPath(item);
    const std::optional<UndoRecord> back = LoadHistoryBack(item);
    if (!back) {
        // Damaged: nothing is offered for a redo any more.
        if (const std::optional<UndoRecord> record = LoadHistoryRecord(item))
            UpdateHistory(item, *record, {}, item.State);
        return step;
    }
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
    // Whatever the redo gets done before a crash can be taken back (FinishCutRedo).
    MarkRedoing(item);
    MarkRunStarted();
    step.Run = RedoRenames(*back, hooks);
    const bool whole = step.Run.Left.empty();
    if (whole && record->Entries.empty() && step.Run.Back.size() == back->Entries.size()) {
        // Everything renamed again, in the order of the taken-back entries: they are the record.
        step.Changed = MoveBackToRecord(item);
        MarkRunEnded();
        return step;
    }
    const TakenBack state = step.Run.Back.empty() ? item.State : whole ? TakenBack::No : TakenBack::Partly;
    record->Entries.insert(record->Entries.end(), step.Run.Back.begin(), step.Run.Back.end());
    step.Changed = UpdateHistory(item, *record, step.Run.Left, state);
    if (whole)
        MarkRunEnded();
    return step;
}
