#pragma once
// The way back from the last execution: its record, kept under the user's state folder from
// before the first rename, and the undo that gives each file its old name again.
#include "platform/renameways.h"
#include "platform/statefile.h"
#include "rename/renamerun.h"
#include "rename/undorecord.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The file that holds the record; empty when the user has no state folder.
std::string UndoRecordPath();
// The record on disk; none when there is none, it is damaged or foreign, or this program
// made it unusable (ExecutionRecord::Save). Removes the record's temporary files that a crash
// left behind. With bytes, they receive the file's bytes as read (for ReplaceUndoRecord).
// Waits for another program's lock at most `wait`; without it the record is read as it stands
// and no temporary file is removed. A record this program could not remove after taking it
// back all the way (MarkRecordSpent) reads as none too.
std::optional<UndoRecord> LoadUndoRecord(std::string* bytes = nullptr,
                                         std::chrono::milliseconds wait = std::chrono::milliseconds(2000));
// Forgets the record; false when it could not be removed.
bool RemoveUndoRecord();
// When the file still holds expected (no other program wrote since it was read), writes next
// in its place, or removes it when next is none. False when it held something else or could
// not be changed.
bool ReplaceUndoRecord(const std::string& expected, const std::optional<UndoRecord>& next);
// For a record that was taken back but could neither be removed nor rewritten: remembered (in
// this session, and where the user's data folder can be written, for later ones), so that it
// is not offered again for an undo that would do nothing.
void MarkRecordSpent(const std::string& bytes);

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
// it left in its folder (RepairCutRun) and clears the mark once nothing is left to bring back.
// A folder that can't be reached now keeps the mark for the undo.
void RepairCutRunAtStart();

// What became of the record when it could not be written.
enum class RecordSave {
    Saved,
    Unwritten,            // not written; no record of an older execution is left to undo
    UnwrittenOldRemains,  // not written, and the older record could be neither removed nor
                          // emptied: this program no longer uses it, but it stays on disk
    Busy,                 // another program holds the records' lock: nothing may be renamed
};

// The record's part in one execution. Save runs before the first rename (ExecuteHooks::
// BeforeRenames), Renamed after each rename; the destructor ends it, also when the run stopped
// on an error. An execution that renamed no file changed nothing, so the record of the one
// before it is put back and can still be undone, unless another program wrote a record of
// its own since. When the record can't be written, the one before is made unusable: it would
// no longer describe the folder.
class ExecutionRecord {
public:
    ExecutionRecord() = default;
    ~ExecutionRecord();
    ExecutionRecord(const ExecutionRecord&) = delete;
    ExecutionRecord& operator=(const ExecutionRecord&) = delete;

    RecordSave Save(const UndoRecord& planned);
    void Renamed() { ++renamed_; }

private:
    std::optional<platform::StateLock> lock_; // from Save to the end of the run
    bool saving_ = false;
    int renamed_ = 0;
    std::optional<std::string> previous_; // the file's bytes before Save; none: no file
    std::optional<std::string> left_;     // the file's bytes as Save left them; none: no file
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
};

// Throws EFileError ("フォルダを開けません") unless the folder of the record can be opened and
// is the execution's own folder (where the record knows its identity).
void CheckUndoFolder(const UndoRecord& record);

// Walks the record backwards: a file that is still the very file (device, inode and, where
// kept, birth time) under its new name gets its old name back, never replacing anything;
// every other entry is left alone. Throws EFileError as CheckUndoFolder.
UndoOutcome UndoRenames(const UndoRecord& record, const UndoHooks& hooks);
