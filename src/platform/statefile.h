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

} // namespace platform
