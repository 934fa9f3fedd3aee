#pragma once
// What a run cut short leaves on a disk that lacks the Linux rename extensions (camera cards
// through FUSE): a file under the hidden temporary name of a case-only rename, and empty
// claims of new names. The record names both beforehand, so they can be undone.
#include "platform/filesystem.h"
#include "rename/undorecord.h"

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

// Whether the file seen is the entry's very file: device and inode, or where inode numbers do
// not last (loose) the same size and modification time; birth times where both know one.
// Entries of older records know no size and are compared by inode alone.
bool IsRecordedFile(const platform::FileIdentity& seen, const UndoEntry& e, bool loose);

// The stem of entry i's temporary names; empty for a record without a token.
platform::TemporaryStem TemporaryStemOf(const UndoRecord& record, std::size_t i);

struct RepairOutcome {
    int Restored = 0;        // files brought back from a temporary name to their old name
    std::vector<std::size_t> Returned; // their entries
    std::vector<bool> Stuck; // by entry: still under a temporary name, its old name taken
};

// Every file that the record's run left under one of its temporary names gets its old name
// back, never replacing anything; an empty claim the run made (after it began) under an
// entry's temporary, new or old name, beside that entry's very file, is removed. `listed` is
// the folder's listing and is kept up to date; reportTaken gets the old name that another
// file holds.
RepairOutcome RepairCutRun(const platform::FolderHandle& folder, const UndoRecord& record, bool loose,
                           std::unordered_set<std::string>& listed,
                           const std::function<void(const std::string& oldName)>& reportTaken);
