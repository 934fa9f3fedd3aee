#pragma once
// The way back from the last execution: its record, kept under the user's state folder from
// before the first rename, and the undo that gives each file its old name again.
#include "rename/renamerun.h"
#include "rename/undorecord.h"

#include <functional>
#include <optional>
#include <string>

// The file that holds the record; empty when the user has no state folder.
std::string UndoRecordPath();
// The record on disk; none when there is none or it is damaged or foreign.
std::optional<UndoRecord> LoadUndoRecord();
// Forgets the record; false when it could not be removed.
bool RemoveUndoRecord();

// The record's part in one execution. Save runs before the first rename (ExecuteHooks::
// BeforeRenames), Renamed after each rename; the destructor ends it, also when the run stopped
// on an error. An execution that renamed no file changed nothing, so the record of the one
// before it is put back and can still be undone. When the record can't be written, none is
// left: the one before would no longer describe the folder.
class ExecutionRecord {
public:
    ExecutionRecord() = default;
    ~ExecutionRecord();
    ExecutionRecord(const ExecutionRecord&) = delete;
    ExecutionRecord& operator=(const ExecutionRecord&) = delete;

    void Save(const UndoRecord& planned);
    void Renamed() { ++renamed_; }

private:
    bool saving_ = false;
    int renamed_ = 0;
    std::optional<std::string> previous_;
};

struct UndoHooks {
    RunProgress Progress;
    // The file is still the one the execution renamed, but its old name is taken: the old
    // full path.
    std::function<void(const std::string& oldPath)> ReportTaken;
};

// Walks the record backwards: a file that is still the very file (device and inode) under
// its new name gets its old name back, never replacing anything; every other entry is left
// alone. Returns the number of files renamed back. Throws EFileError when the folder can't
// be opened.
int UndoRenames(const UndoRecord& record, const UndoHooks& hooks);
