#pragma once
// Every entry of one folder with what the execution's tests will find there, read in one go,
// so that the trial run can foresee the renames without touching the disk again.
#include <cstddef>
#include <string>
#include <vector>

namespace platform {

// As the "file exists" test sees an entry, symbolic links followed: something that is not a
// folder, a folder, or nothing it can reach (a dangling or looping link).
enum class EntryKind : unsigned char { File, Folder, Unreachable };

struct FolderEntry {
    std::string Name;
    EntryKind Kind = EntryKind::File;
};

struct FolderSnapshot {
    std::vector<FolderEntry> Entries; // hidden ones included, "." and ".." left out
    std::size_t NameMax = 255;        // the longest name in bytes the file system takes
    bool Writable = true;             // names can be added and removed by this process
};

// Throws EFileError when the folder can't be read to its end.
FolderSnapshot ReadFolderSnapshot(const std::string& folder);

} // namespace platform
