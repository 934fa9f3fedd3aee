#pragma once
// The only place that talks to the file system. Names and paths are raw bytes.
#include "platform/renameways.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace platform {


// Names of the entries of a folder that are not folders (symbolic links followed) and not
// hidden (leading "."), unsorted. Throws EFileError when the folder can't be read.
std::vector<std::string> ListFiles(const std::string& folder);

// Names of the visible subfolders of a folder (symbolic links followed), unsorted.
// Throws EFileError when the folder can't be read.
std::vector<std::string> ListSubfolders(const std::string& folder);

// Both of the above from one read of the folder, which is half the time of two on a big one.
struct FolderEntries {
    std::vector<std::string> Files;
    std::vector<std::string> Subfolders;
};
FolderEntries ListFolder(const std::string& folder);

// True when the path names something that is not a folder.
bool FileExists(const std::string& path);
// True when the path names a folder (symbolic links followed).
bool IsFolder(const std::string& path);
// Throws EFileError unless the folder exists and can be opened for listing.
void CheckFolderEnterable(const std::string& folder);

enum class RenameResult { Renamed, Taken, Failed };

// --- File identity ---
// What tells one file from another on this machine, whatever its name. An inode number is
// handed out again as soon as its file is gone (ext4 does so at once), so where the file
// system keeps a birth time it is part of the identity.
struct FileIdentity {
    uint64_t Device = 0;
    uint64_t Inode = 0;
    uint64_t Birth = 0; // nanoseconds since the epoch; 0 where the file system keeps none
    uint64_t Size = 0;
    int64_t ModifiedNanos = 0; // last modification, nanoseconds since the epoch
    bool Regular = false;      // a regular file (the name itself, not a link's target)
    bool operator==(const FileIdentity&) const = default;
    // True when this is the file once seen as recorded: a birth time unknown on either side
    // is not compared. Loose: where inode numbers do not last (LooseIdentity), the same size
    // and modification time under the name looked at tell the file instead.
    bool IsSameFileAs(const FileIdentity& recorded, bool loose = false) const
    {
        const bool born = Birth == 0 || recorded.Birth == 0 || Birth == recorded.Birth;
        if (loose)
            return born && Size == recorded.Size && ModifiedNanos == recorded.ModifiedNanos;
        return Device == recorded.Device && Inode == recorded.Inode && born;
    }
};
// --- end of file identity ---
// Renames without ever replacing an existing entry, not even one that appears meanwhile,
// and never copies. Both paths must be in the same folder. Where the folder folds letter case
// and the new name finds the file itself, the file takes the new name's exact bytes (through
// a temporary name of its own). Where the file system lacks RENAME_NOREPLACE it takes a hard
// link, else an exclusive claim of the new name that the rename then replaces.
RenameResult RenameNoReplace(const std::string& from, const std::string& to, RenameWays ways = {});

// Tests only: called before every step that changes a folder in a rename (a claim, a link, a
// rename, a removal), so that a test can end the process between any two of them.
using RenameStepHook = void (*)();
void SetRenameStepHook(RenameStepHook hook);

// A folder opened once for a run of calls on the names directly inside it, so that no call
// resolves a full path again. A folder that can't be opened gives a handle on which every
// call fails. Names are bare entry names; one holding "/" is refused. Its renames take the
// ways given.
class FolderHandle {
public:
    explicit FolderHandle(const std::string& folder, RenameWays ways = {});
    ~FolderHandle();
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    bool valid() const { return fd_ >= 0; }

    // As RenameNoReplace. Taken only when another file (not a folder, not the file itself
    // under a name that differs in letter case) holds the new name, even
    // when the rename failed for a reason of its own; the existence test is made only after
    // the rename has failed.
    // A rename through a temporary name takes TemporaryStemText(stem) + "-" + attempt + ".tmp"
    // where a stem is given (so that a record can name it beforehand), else a name of this
    // process's own.
    RenameResult RenameNoReplace(const std::string& from, const std::string& to, TemporaryStem stem = {}) const;
    // True when the name is there and is not a folder (symbolic links followed).
    bool FileExists(const std::string& name) const;
    // Removes the entry permanently unless it is a folder; a symbolic link goes as a link.
    bool RemoveFile(const std::string& name) const;
    // --- File identity ---
    // The identity of the entry under name, a symbolic link itself and not its target;
    // none when nothing is there.
    std::optional<FileIdentity> IdentityOf(const std::string& name) const;
    // IdentityOf for each name, read on two threads when there are many.
    std::vector<std::optional<FileIdentity>> IdentitiesOf(const std::vector<const std::string*>& names) const;
    // The identity of the opened folder itself; none for a handle that is not valid.
    std::optional<FileIdentity> Identity() const;
    // True where the folder's file system hands out new inode numbers to the same files when
    // the kernel forgets its entries or the disk is mounted again: FUSE (exfat-fuse, fusefat,
    // sshfs, MTP) and the kernel's FAT and exFAT drivers, which number files as they load them.
    bool LooseIdentity() const;
    // Every entry's name, hidden ones included, "." and ".." not; empty when it can't be read.
    std::vector<std::string> AllNames() const;
    // --- end of file identity ---

private:
    int fd_ = -1;
    // How this folder's file system lets a rename refuse an existing name, learnt on the way:
    // 0 by RENAME_NOREPLACE, 1 by hard link, 2 by an exclusive claim of the new name.
    mutable unsigned char way_ = 0;
    // Whether the folder folds letter case where its file system can't say by the file's own
    // number: -1 not known yet, 0 no, 1 yes.
    mutable signed char folds_ = -1;
};

// The whole file; throws EFileError on failure or when it is larger than maxBytes.
std::string ReadWholeFile(const std::string& path, std::size_t maxBytes);

// The process's current folder, or "/" when it can't be read.
std::string CurrentFolder();
// Makes the folder the process's current folder. Throws EFileError when it can't be entered.
void EnterFolder(const std::string& folder);

} // namespace platform
