#pragma once
// Files the program keeps for itself (settings, options, presets, the records of executions),
// written so that a crash or a power cut at any moment leaves either the old file or the whole
// new one on disk, and only ever as regular files: through a symbolic link onto a regular file,
// never over or through a device, a named pipe, a socket or a folder.
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// $XDG_STATE_HOME/pelkorin, or ~/.local/state/pelkorin when that is unset or not absolute;
// empty when there is no home either.
std::string ProgramStateFolder();

// What stands at the end of path's chain of symbolic links, looked at without opening it.
enum class OwnFileKind { Missing, Regular, Other };
OwnFileKind KindOfOwnFile(const std::string& path);
// Throws EFileError "ファイルを書き込めません: " + path unless path is missing or (links
// followed) a regular file: the check every writer of the program's own files makes.
void CheckOwnFileWritable(const std::string& path);

// Writes a temporary file beside the file that path ends at (a symbolic link stays and its
// target gets the new content, keeping its mode; a new file is 0644) and renames it into
// place. Throws EFileError, also when path stands for anything but a regular file.
void WriteFileReplacing(const std::string& path, const std::string& bytes);

// The same, making the folders as needed (private to the user) and flushing the folder.
void WriteFileDurably(const std::string& path, const std::string& bytes);

// The whole file, or none when it does not exist, can't be read or is larger than maxBytes.
std::optional<std::string> ReadFileIfPresent(const std::string& path, std::size_t maxBytes);

// The last n bytes of a regular file, or none when it is shorter or can't be read: a record's
// checksum without reading the record.
std::optional<std::string> ReadFileTail(const std::string& path, std::size_t n);

// The names in a folder, "." and ".." not; empty when it can't be read.
std::vector<std::string> FolderNames(const std::string& folder);

// An empty file that marks a state only a crash of the program has to outlive, not a power
// cut: made (present) or removed without flushing, which costs a run nothing. True when the
// file is as asked.
bool SetMark(const std::string& path, bool present);

// Removes the file and flushes its folder; true when it is gone (or was never there).
bool RemoveFileDurably(const std::string& path);

// Puts the file at from in the place of the one at to in one step (the program's own files
// only: to is replaced) and flushes their folder; false when it could not be moved.
bool ReplaceFileDurably(const std::string& from, const std::string& to);

// Writes the file's bytes over its old ones in place: for a file whose folder can't be
// written, where neither a rename nor a removal works. False on any failure.
bool OverwriteFileInPlace(const std::string& path, const std::string& bytes);

// Removes the temporary files that WriteFileDurably made beside path and a crash left behind.
// Only under the StateLock that every writer of path holds, or another program's file in
// the making would go.
void RemoveLeftoverTemporaries(const std::string& path);

// An exclusive lock (flock) on the file at path for its lifetime, so programs running at once
// take turns at the files it guards. The file is made as needed, and with makeFolders its
// folders too. Waits for another program's lock at most `wait`, so a stopped program never
// stalls this one. Holds nothing when the file can't be opened (then the guarded files can't be
// written either) or the wait ran out (busy()). A thread that holds the lock already takes it
// again at once: an operation can hold it throughout while the steps inside take it too.
class StateLock {
public:
    static constexpr std::chrono::milliseconds kWait{2000};
    StateLock(const std::string& path, bool makeFolders, std::chrono::milliseconds wait = kWait);
    ~StateLock();
    StateLock(const StateLock&) = delete;
    StateLock& operator=(const StateLock&) = delete;
    bool held() const { return held_; }
    // Another program held the lock throughout the wait.
    bool busy() const { return busy_; }

private:
    std::string path_;
    bool held_ = false;
    bool busy_ = false;
};

} // namespace platform
