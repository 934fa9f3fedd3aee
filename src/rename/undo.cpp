#include "rename/undo.h"

#include "base/errors.h"
#include "base/runstopped.h"
#include "platform/filesystem.h"
#include "platform/identitylookahead.h"
#include "platform/statefile.h"
#include "platform/userfolders.h"
#include "rename/history.h"
#include "rename/historyrun.h"
#include "rename/texthelpers.h"
#include "rename/undorepair.h"

#include <algorithm>
#include <cerrno>
#include <unordered_set>

namespace {
std::string LockPath()
{
    const std::string folder = platform::ProgramStateFolder();
    return folder.empty() ? std::string() : folder + "/last-execution.lock";
}

std::string RunningPath()
{
    const std::string folder = platform::ProgramStateFolder();
    return folder.empty() ? std::string() : folder + "/last-execution.running";
}

} // namespace

std::string UndoRecordPath()
{
    const std::string folder = platform::ProgramStateFolder();
    return folder.empty() ? std::string() : folder + "/last-execution.undo";
}

std::optional<UndoRecord> LoadUndoRecord(std::string* bytes, std::chrono::milliseconds wait)
{
    const std::vector<HistoryItem> items = ReadHistory(wait, true);
    const std::optional<std::size_t> next = NextToUndo(items);
    return next ? LoadHistoryRecord(items[*next], bytes) : std::nullopt;
}

bool RemoveUndoRecord()
{
    const platform::StateLock lock(LockPath(), false);
    bool gone = true;
    for (const HistoryItem& item : ReadHistory())
        gone = RemoveHistoryItem(item) && gone;
    const std::string legacy = UndoRecordPath();
    return (legacy.empty() || platform::RemoveFileDurably(legacy)) && gone;
}

platform::StateLock LockRecords()
{
    return platform::StateLock(LockPath(), true);
}

bool MarkRunStarted()
{
    const std::string path = RunningPath();
    return !path.empty() && platform::SetMark(path, true);
}

void MarkRunEnded()
{
    if (const std::string path = RunningPath(); !path.empty())
        platform::SetMark(path, false);
}

bool RunWasCut()
{
    const std::string path = RunningPath();
    return !path.empty() && platform::KindOfOwnFile(path) == platform::OwnFileKind::Regular;
}

RecordSave ExecutionRecord::Save(const UndoRecord& planned)
{
    saving_ = true;
    if (HistoryFolder().empty())
        return RecordSave::Unwritten;
    // Held until the run ends, so no other program's execution or undo runs among its renames.
    lock_.emplace(LockPath(), true);
    if (lock_->busy()) {
        saving_ = false;
        return RecordSave::Busy;
    }
    // Taken in now, so that it counts among the history that an unwritten record ends.
    ReadHistory(platform::StateLock::kWait, true);
    item_ = AddToHistory(planned, std::chrono::duration_cast<std::chrono::nanoseconds>(
                                      std::chrono::system_clock::now().time_since_epoch())
                                      .count());
    if (item_) {
        // Without the mark a crash among the renames would go unnoticed at the next start;
        // the record itself still holds, so the run goes on.
        MarkRunStarted();
        return RecordSave::Saved;
    }
    // What GoOnUnrecorded will find: a folder that can't be written keeps its records.
    const bool none = ReadHistory(platform::StateLock::kWait, true).empty();
    return none || platform::FolderWritable(HistoryFolder()) ? RecordSave::Unwritten
                                                               : RecordSave::UnwrittenOldRemains;
}

void ExecutionRecord::GoOnUnrecorded()
{
    // No record before this execution may be undone after it, in whatever folder.
    EndHistory();
}

void ExecutionRecord::Renamed()
{
    if (++renamed_ == 1 && item_)
        DropRedo(item_->Id);
}

ExecutionRecord::~ExecutionRecord()
{
    if (!saving_)
        return;
    MarkRunEnded();
    if (!item_)
        return;
    // Nothing renamed, nothing changed: the history stays as it was.
    if (renamed_ == 0)
        RemoveHistoryItem(*item_);
    else
        FinishHistoryItem(*item_, static_cast<uint64_t>(renamed_));
}

namespace {
// The folder at the record's path must be the execution's own, not one made in its place.
// Where inode numbers do not last, a folder on such a disk at the same path is the one.
void CheckSameFolder(const platform::FolderHandle& folder, const UndoRecord& record)
{
    if (record.FolderInode == 0)
        return; // a record of the first format does not know it
    const auto id = folder.Identity();
    const bool same = id && (record.LooseIdentity && folder.LooseIdentity()
                                 ? record.FolderBirth == 0 || id->Birth == 0 || id->Birth == record.FolderBirth
                                 : id->IsSameFileAs({record.FolderDevice, record.FolderInode, record.FolderBirth}));
    if (!same)
        throw EFileError(FileErrorMessage("フォルダを開けません", record.Folder, ENOENT));
}
} // namespace

namespace {
void RepairFolder(const UndoRecord& record)
{
    platform::CheckFolderEnterable(record.Folder);
    const platform::FolderHandle folder(record.Folder);
    CheckSameFolder(folder, record);
    std::vector<std::string> names = folder.AllNames();
    std::unordered_set<std::string> listed(std::make_move_iterator(names.begin()), std::make_move_iterator(names.end()));
    const bool loose = record.LooseIdentity || folder.LooseIdentity();
    if (!RepairCutRun(folder, record, loose, listed, {}).Stuck.empty())
        throw EFileError("stuck");
}
} // namespace

void RepairCutRunAtStart()
{
    // Only a short wait: a run under way in another program holds the lock, and its mark is
    // its own.
    const platform::StateLock lock(LockPath(), false, std::chrono::milliseconds(100));
    if (!lock.held() || !RunWasCut())
        return;
    // A cut execution or undo left its files under the names of the execution an undo takes
    // next; a cut redo under those of the one a redo takes next.
    std::vector<HistoryItem> items = ReadHistory(platform::StateLock::kWait, true);
    bool repaired = true;
    for (HistoryItem& item : items)
        repaired = FinishCutRedo(item) && repaired;
    std::vector<UndoRecord> records;
    if (const auto next = NextToUndo(items))
        if (auto r = LoadHistoryRecord(items[*next]))
            records.push_back(std::move(*r));
    if (const auto next = NextToRedo(items))
        if (auto r = LoadHistoryBack(items[*next]))
            records.push_back(std::move(*r));
    try {
        for (const UndoRecord& record : records)
            RepairFolder(record);
        if (repaired)
            MarkRunEnded();
    } catch (const EFileError&) {
        // not reachable now, or something still to bring back: the undo looks again
    }
}

void CheckUndoFolder(const UndoRecord& record)
{
    platform::CheckFolderEnterable(record.Folder);
    CheckSameFolder(platform::FolderHandle(record.Folder), record);
}

namespace {
// The folder of a record, checked and listed where names must be looked up by listing.
struct OpenedFolder {
    OpenedFolder(const UndoRecord& record, const UndoHooks& hooks)
        : Handle(record.Folder, hooks.Ways), Prefix(FolderPrefix(record.Folder))
    {
        // The handle's own folder, so that a folder swapped in after CheckUndoFolder is caught too.
        CheckSameFolder(Handle, record);
        Loose = record.LooseIdentity || Handle.LooseIdentity();
        // Where a cut run may have left files under temporary names, and on disks that fold
        // letter case without telling names apart by number, the folder is listed once: a file
        // is under a name only where the folder lists that exact name.
        if (hooks.Repair || Loose) {
            std::vector<std::string> names = Handle.AllNames();
            Listed.emplace(std::make_move_iterator(names.begin()), std::make_move_iterator(names.end()));
        }
    }
    platform::FolderHandle Handle;
    std::string Prefix;
    bool Loose = false;
    std::optional<std::unordered_set<std::string>> Listed;

    // The entry's very file is under name; looked shows it there a moment ago. A look that
    // does not is made again, so only a file that was there is passed over.
    bool HasVeryFile(const std::string& name, const UndoEntry& e, const std::optional<platform::FileIdentity>& looked) const
    {
        if (Listed && !Listed->count(name))
            return false;
        if (looked && IsRecordedFile(*looked, e, Loose))
            return true;
        const auto id = Handle.IdentityOf(name);
        return id && IsRecordedFile(*id, e, Loose);
    }
    bool Move(const std::string& from, const std::string& to, platform::TemporaryStem stem)
    {
        if (Handle.RenameNoReplace(from, to, stem) != platform::RenameResult::Renamed)
            return false;
        if (Listed) {
            Listed->erase(from);
            Listed->insert(to);
        }
        return true;
    }
};

// Brings back what a cut run left under the record's temporary names: by entry, whether it is
// still stuck there; returned entries are marked in back.
std::vector<bool> Repair(OpenedFolder& f, const UndoRecord& record, const UndoHooks& hooks, UndoOutcome& outcome,
                         std::vector<bool>& back)
{
    if (!f.Listed)
        return {};
    RepairOutcome repaired = RepairCutRun(f.Handle, record, f.Loose, *f.Listed, [&](const std::string& oldName) {
        if (hooks.ReportTaken)
            hooks.ReportTaken(f.Prefix + oldName);
    });
    outcome.Restored += repaired.Restored;
    for (std::size_t i : repaired.Returned)
        back[i] = true;
    return std::move(repaired.Stuck);
}
} // namespace

UndoOutcome UndoRenames(const UndoRecord& record, const UndoHooks& hooks)
{
    platform::CheckFolderEnterable(record.Folder);
    OpenedFolder f(record, hooks);
    const int t = static_cast<int>(record.Entries.size());
    UndoOutcome outcome;
    std::vector<bool> back(record.Entries.size());
    const std::vector<bool> stuck = Repair(f, record, hooks, outcome, back);
    // Backwards, so a chain of renames (01 -> 00, 02 -> 01) frees each old name before it is
    // needed again. A name the loop looks at next is never one it has just freed or filled
    // (the execution found it free, or it held the file), so a look ahead stays true.
    platform::IdentityLookahead ahead(f.Handle, record.Entries.size(),
                                      [&](std::size_t j) -> const std::string& { return record.Entries[record.Entries.size() - 1 - j].NewName; });
    int k = t - 1;
    try {
        for (; k >= 0; --k) {
            if (hooks.Progress)
                hooks.Progress(t - k, t);
            const auto i = static_cast<std::size_t>(k);
            const UndoEntry& e = record.Entries[i];
            if (!stuck.empty() && stuck[i]) {
                outcome.Left.push_back(e);
                continue;
            }
            if (!f.HasVeryFile(e.NewName, e, ahead.Take(static_cast<std::size_t>(t - 1 - k))))
                continue;
            if (f.Move(e.NewName, e.OldName, TemporaryStemOf(record, i))) {
                ++outcome.Restored;
                back[i] = true;
                continue;
            }
            outcome.Left.push_back(e);
            if (f.Handle.IdentityOf(e.OldName) && hooks.ReportTaken)
                hooks.ReportTaken(f.Prefix + e.OldName);
        }
    } catch (const RunStopped& stop) {
        // The entries not reached stay to take back.
        outcome.Stopped = true;
        outcome.Done = stop.Done;
        for (; k >= 0; --k)
            outcome.Left.push_back(record.Entries[static_cast<std::size_t>(k)]);
    }
    std::reverse(outcome.Left.begin(), outcome.Left.end());
    for (std::size_t i = 0; i < back.size(); ++i)
        if (back[i])
            outcome.Back.push_back(record.Entries[i]);
    return outcome;
}

UndoOutcome RedoRenames(const UndoRecord& record, const UndoHooks& hooks)
{
    platform::CheckFolderEnterable(record.Folder);
    OpenedFolder f(record, hooks);
    const int t = static_cast<int>(record.Entries.size());
    UndoOutcome outcome;
    std::vector<bool> unused(record.Entries.size());
    // A cut redo's files go back to their old names first, and are renamed again below.
    const std::vector<bool> stuck = Repair(f, record, hooks, outcome, unused);
    outcome.Restored = 0;
    platform::IdentityLookahead ahead(f.Handle, record.Entries.size(),
                                      [&](std::size_t j) -> const std::string& { return record.Entries[j].OldName; });
    int k = 0;
    try {
        for (; k < t; ++k) {
            if (hooks.Progress)
                hooks.Progress(k + 1, t);
            const auto i = static_cast<std::size_t>(k);
            const UndoEntry& e = record.Entries[i];
            if (!stuck.empty() && stuck[i]) {
                outcome.Left.push_back(e);
                continue;
            }
            if (!f.HasVeryFile(e.OldName, e, ahead.Take(i)))
                continue;
            if (f.Move(e.OldName, e.NewName, TemporaryStemOf(record, i))) {
                ++outcome.Restored;
                outcome.Back.push_back(e);
                continue;
            }
            outcome.Left.push_back(e);
            if (f.Handle.IdentityOf(e.NewName) && hooks.ReportTaken)
                hooks.ReportTaken(f.Prefix + e.NewName);
        }
    } catch (const RunStopped& stop) {
        outcome.Stopped = true;
        outcome.Done = stop.Done;
        for (; k < t; ++k)
            outcome.Left.push_back(record.Entries[static_cast<std::size_t>(k)]);
    }
    return outcome;
}
