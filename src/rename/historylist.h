#pragma once
// The executions kept in the history as the menu and the history window see them, newest
// first: which one an undo takes back, which one a redo renames again, what a row says.
#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class TakenBack : uint8_t { No = 0, Partly = 1, Wholly = 2 };

struct HistoryItem {
    std::string Id;      // names its files in the history folder
    std::string Folder;  // absolute path, raw bytes
    int64_t Began = 0;   // seconds since the epoch
    uint64_t Renamed = 0; // files the execution renamed
    TakenBack State = TakenBack::No;
    bool Redoable = false; // files taken back that a redo can rename again
    std::string RecordSum; // the record file's own checksum (its last bytes)
    // A redo began and has not written what it did (a crash cut it): the files it renamed
    // are still to be counted among those to take back (FinishCutRedo).
    bool Redoing = false;
    bool operator==(const HistoryItem&) const = default;
};

// "YYYY/MM/DD HH:MM:SS" (local time) + "  " + count + "個" + "  " + folder, then the mark of an
// execution taken back wholly or in part. folderText: the folder's display text.
QString HistoryRowText(const HistoryItem& item, const QString& folderText);

// The newest execution not yet taken back (a partly taken back one is still to do).
std::optional<std::size_t> NextToUndo(const std::vector<HistoryItem>& items);
// The execution taken back last: among the newest executions taken back, the oldest one that
// still has files to rename again, or the first one not taken back wholly when it has some.
std::optional<std::size_t> NextToRedo(const std::vector<HistoryItem>& items);
// The executions "ここまで元に戻す" takes back for the row chosen, newest first: every one
// not yet wholly taken back from the newest down to that row.
std::vector<std::size_t> UndoDownTo(const std::vector<HistoryItem>& items, std::size_t row);
