#pragma once
// Files the program keeps for itself under the user's state folder, written so that a crash
// or a power cut at any moment leaves either the old file or the whole new one on disk.
#include <cstddef>
#include <optional>
#include <string>

namespace platform {

// $XDG_STATE_HOME/pelkorin, or ~/.local/state/pelkorin when that is unset or not absolute;
// empty when there is no home either.
std::string ProgramStateFolder();

// Creates the folders as needed (private to the user), writes a temporary file beside path,
// flushes it, renames it into place and flushes the folder. Throws EFileError.
void WriteFileDurably(const std::string& path, const std::string& bytes);

// The whole file, or none when it does not exist, can't be read or is larger than maxBytes.
std::optional<std::string> ReadFileIfPresent(const std::string& path, std::size_t maxBytes);

// Removes the file and flushes its folder; true when it is gone (or was never there).
bool RemoveFileDurably(const std::string& path);

// Writes the file's bytes over its old ones in place: for a file whose folder can't be
// written, where neither a rename nor a removal works. False on any failure.
bool OverwriteFileInPlace(const std::string& path, const std::string& bytes);

// Removes the temporary files that WriteFileDurably made beside path and a crash left behind.
// Only under the StateLock that every writer of path holds, or another program's file in
// the making would go.
void RemoveLeftoverTemporaries(const std::string& path);

// An exclusive lock (flock) on the file at path for its lifetime, so programs running at once
// take turns at the files it guards. The file is made as needed, and with makeFolders its
// folders too. Holds nothing when the file can't be opened: then the guarded files can't be
// written either.
class StateLock {
public:
    StateLock(const std::string& path, bool makeFolders);
    ~StateLock();
    StateLock(const StateLock&) = delete;
    StateLock& operator=(const StateLock&) = delete;
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace platform
