#pragma once
// The way back from the last execution: its record, kept under the user's state folder from
// before the first rename, and the undo that gives each file its old name again.
#include "platform/renameways.h"
#include "platform/statefile.h"
#include "rename/historylist.h"
#include "rename/renamerun.h"
#include "rename/undorecord.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The file where older versions kept their one record; the history takes it in when read.
std::string UndoRecordPath();
// The record of the newest execution not yet taken back in the history (history.h); none when
// there is none. Waits for another program's lock at most `wait`.
std::optional<UndoRecord> LoadUndoRecord(std::string* bytes = nullptr,
                                         std::chrono::milliseconds wait = std::chrono::milliseconds(2000));
// Forgets the whole history; false when some of it could not be removed.
bool RemoveUndoRecord();

// The lock every reader and writer of the record holds, taken by an execution or an undo for
// all of its work; not held when another program kept it for 2 s (busy()).
platform::StateLock LockRecords();

// A run (an execution or an undo) is under way between these two; a crash leaves the mark, so
// that the next start and the next undo look for the files it left under temporary names or
// claims (a power cut may lose it: on the disks that need those names the undo always looks).
// Under LockRecords. False when the mark could not be written.
bool MarkRunStarted();
void MarkRunEnded();
bool RunWasCut();
// At start: when the last run was cut short and no other program is at work, brings back what
// it left in its folder (RepairCutRun over the execution an undo or a redo would take next) and
// clears the mark once nothing is left to bring back.
// A folder that can't be reached now keeps the mark for the undo.
void RepairCutRunAtStart();

// What became of the record when it could not be written.
enum class RecordSave {
    Saved,
    Unwritten,            // not written; no older execution is left to undo
    UnwrittenOldRemains,  // not written, and an older record could be neither removed nor
                          // emptied: this program no longer uses it, but it stays on disk
    Busy,                 // another program holds the records' lock: nothing may be renamed
};

// The record's part in one execution. Save runs before the first rename (ExecuteHooks::
// BeforeRenames) and adds the execution to the history, Renamed after each rename; the
// destructor ends it, also when the run stopped on an error. An execution that renamed no
// file changed nothing and leaves the history as it was. The first rename drops what was taken
// back (no redo past a new execution). When the record can't be written and the run goes on
// (GoOnUnrecorded), the history ends: no older record would still describe its folder.
class ExecutionRecord {
public:
    ExecutionRecord() = default;
    ~ExecutionRecord();
    ExecutionRecord(const ExecutionRecord&) = delete;
    ExecutionRecord& operator=(const ExecutionRecord&) = delete;

    RecordSave Save(const UndoRecord& planned);
    // The user goes on although Save could not write the record: the history ends here.
    void GoOnUnrecorded();
    void Renamed();

private:
    std::optional<platform::StateLock> lock_; // from Save to the end of the run
    bool saving_ = false;
    int renamed_ = 0;
    std::optional<HistoryItem> item_; // the execution in the history, once written
};

struct UndoHooks {
    RunProgress Progress;
    // The file is still the one the execution renamed, but its old name is taken: the old
    // full path.
    std::function<void(const std::string& oldPath)> ReportTaken;
    // How each rename refuses an existing name.
    platform::RenameWays Ways;
    // A run was cut short: look for files under the record's temporary names and for claims
    // first (always done where inode numbers do not last).
    bool Repair = false;
};

struct UndoOutcome {
    int Restored = 0;
    // The entries whose file is still the very file under its new name but did not get its
    // old name back, in the record's order: what a later undo can still do.
    std::vector<UndoEntry> Left;
    // The entries whose file came back (of a redo: got its new name again), in the record's
    // order: what a redo (an undo) can do next.
    std::vector<UndoEntry> Back;
    // "中止" stopped the run after Done files; the entries not reached are in Left.
    bool Stopped = false;
    int Done = 0;
};

// Throws EFileError ("フォルダを開けません") unless the folder of the record can be opened and
// is the execution's own folder (where the record knows its identity).
void CheckUndoFolder(const UndoRecord& record);

// Walks the record backwards: a file that is still the very file (device, inode and, where
// kept, birth time) under its new name gets its old name back, never replacing anything;
// every other entry is left alone. Throws EFileError as CheckUndoFolder.
UndoOutcome UndoRenames(const UndoRecord& record, const UndoHooks& hooks);

// Walks the record of taken-back entries forwards: a file that is still the very file under its
// old name gets its new name again, never replacing anything (hooks.ReportTaken gets the new
// full path of a taken name). Left: the entries whose very file is still under its old name.
// Throws EFileError as CheckUndoFolder.
UndoOutcome RedoRenames(const UndoRecord& back, const UndoHooks& hooks);
