#pragma once
// Every entry of one folder with what the execution's tests will find there, read in one go,
// so that the trial run can foresee the renames without touching the disk again.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// As the "file exists" test sees an entry, symbolic links followed: something that is not a
// folder, a folder, or nothing it can reach (a dangling or looping link).
enum class EntryKind : unsigned char { File, Folder, Unreachable };

struct FolderEntry {
    std::string Name;
    EntryKind Kind = EntryKind::File;
    // A rename of this entry is refused whatever its new name: the entry is marked immutable
    // or append-only, or in a sticky folder the entry and the folder belong to someone else.
    bool Locked = false;
};

struct FolderSnapshot {
    std::vector<FolderEntry> Entries; // hidden ones included, "." and ".." left out
    std::size_t NameMax = 255;        // the longest name the file system takes, in bytes
    bool NameMaxInUtf16 = false;      // in UTF-16 code units instead (FAT's long names, exFAT)
    // Names can be added and removed by this process: rights, a read-only mount, and a folder
    // marked immutable or append-only.
    bool Writable = true;
    // The file system finds a name under any letter case (FAT, exFAT, casefolded folders).
    bool FoldsCase = false;
    // FAT's rules on the characters of a name apply (FAT, exFAT, their FUSE drivers).
    bool FatNames = false;
};

// Throws EFileError when the folder can't be read to its end.
FolderSnapshot ReadFolderSnapshot(const std::string& folder);

// A name FAT and exFAT refuse for its characters: control characters and " * / : < > ? \ |.
bool FatRefusesName(std::string_view name);

} // namespace platform
