#pragma once
// The history of executions on disk: under the state folder's "history", one execution is
// "<start>-<token>.record" (the entries still to take back, as the record of undorecord.h),
// ".back" (the entries taken back, which a redo can rename again; none when there are none)
// and ".summary" (folder, start, count, state and the checksums of the other two). Listing the
// history reads the summaries and the last bytes of each record, never their entries, so a
// record of millions of files costs nothing until it is taken back. Every writer holds the
// records' lock (LockRecords); each file is written whole or not at all.
#include "platform/statefile.h"
#include "rename/historylist.h"
#include "rename/undorecord.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

inline constexpr std::size_t kHistorySize = 100;

// The history's folder; empty when the user has no state folder.
std::string HistoryFolder();
// The file of the entries still to take back.
std::string HistoryRecordPath(const HistoryItem& item);

// The executions kept, newest first; a damaged one is left out. Under the records' lock
// (waiting at most `wait`) it also takes in the one record of older versions as the newest
// execution, removes temporary files a crash left, and makes a summary that no longer matches
// its files again from them. A record this program took back but could not change reads as
// taken back. With untilNotTakenBack, only the newest down to the first not wholly taken back
// (enough for NextToUndo and NextToRedo, and quick at start).
std::vector<HistoryItem> ReadHistory(std::chrono::milliseconds wait = platform::StateLock::kWait,
                                     bool untilNotTakenBack = false);

// The entries still to take back, and those a redo can rename again (with the execution's
// folder); none when the file is missing or damaged.
std::optional<UndoRecord> LoadHistoryRecord(const HistoryItem& item, std::string* bytes = nullptr);
std::optional<UndoRecord> LoadHistoryBack(const HistoryItem& item);

// Writes what an undo or a redo left. The taken-back entries get a token of their own for the
// temporary names of their redo. False when the files could not be changed.
bool UpdateHistory(HistoryItem& item, const UndoRecord& record, std::vector<UndoEntry> back, TakenBack state);

// An undo that brought back every entry of a record with nothing taken back before: the record
// file itself becomes the taken-back one (a rename, not a rewrite of every entry), and `emptied`
// (the record without entries) the one to take back. False when the files could not be changed.
bool MoveRecordToBack(HistoryItem& item, const UndoRecord& emptied);

// A redo that renamed again every taken-back entry of an execution with nothing left to take
// back: the taken-back file itself becomes the record (a rename, not a rewrite of every entry).
// False when the files could not be changed.
bool MoveBackToRecord(HistoryItem& item);

// Before a redo's first rename: until it writes what it did, the execution is one to take
// back (Redoing). A small write: the records stay as they are. False when it could not be written.
bool MarkRedoing(HistoryItem& item);

// A new execution: its record and summary, written before its first rename; none when they
// could not be written. idNanos orders it among the others.
std::optional<HistoryItem> AddToHistory(const UndoRecord& planned, int64_t idNanos);
// After an execution: how many files it renamed; keeps the newest kHistorySize.
void FinishHistoryItem(HistoryItem& item, uint64_t renamed);
// Forgets the taken-back entries of every execution but `keep`'s: there is no redo past a new
// execution.
void DropRedo(const std::string& keep);
// Removes one execution.
bool RemoveHistoryItem(const HistoryItem& item);
// Ends the history: no execution kept can be taken back any more. False when one of them could
// be neither removed nor emptied: it stays on disk, and this program no longer uses it.
bool EndHistory();

// A record found damaged when it was to be taken back: left out of the history from now on.
void SetAsideDamaged(const HistoryItem& item);

// A record taken back but not changed on disk is remembered as spent (this session, and where
// the user's data folder can be written, later ones): it is never taken up again.
void MarkHistorySpent(const HistoryItem& item);
