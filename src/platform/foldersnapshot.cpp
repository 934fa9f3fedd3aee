#include "platform/foldersnapshot.h"

#include "base/errors.h"
#include "platform/mountinfo.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <linux/capability.h>
#include <linux/magic.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace platform {
namespace {

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};

EntryKind KindOf(DIR* d, const dirent* e)
{
    // d_type answers for all but links and file systems that don't fill it in: no stat then.
    switch (e->d_type) {
    case DT_DIR:
        return EntryKind::Folder;
    case DT_LNK:
    case DT_UNKNOWN:
        break;
    default:
        return EntryKind::File;
    }
    struct stat st;
    if (fstatat(dirfd(d), e->d_name, &st, 0) != 0)
        return EntryKind::Unreachable;
    return S_ISDIR(st.st_mode) ? EntryKind::Folder : EntryKind::File;
}

bool IsDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool HasCapability(int capability)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return geteuid() == 0;
    return (data[capability / 32].effective & (1u << (capability % 32))) != 0;
}

// The type of the mount that holds the device, as mountinfo names it ("fuseblk",
// "fuse.fusefat", ...); empty when it isn't found.
std::string MountType(dev_t device)
{
    for (const MountEntry& m : ReadMountInfo())
        if (m.Major == major(device) && m.Minor == minor(device))
            return m.Type;
    return {};
}

bool HasAsciiLetter(const std::string& name)
{
    return std::any_of(name.begin(), name.end(), [](char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; });
}

// Whether the folder folds letter case, learnt without writing: an entry's name with its
// ASCII letters turned to the other case is looked up. Not found: the folder keeps case
// apart. Found, and not an entry of its own in the listing: the file system found the entry
// itself under another case. (Identities can't tell: FUSE drivers number each name they are
// asked for apart.) Without any name to try, the kind of file system decides.
bool FoldsCaseOf(int dir, const std::vector<FolderEntry>& entries, bool fatFamily)
{
    const auto probe = std::find_if(entries.begin(), entries.end(),
                                    [](const FolderEntry& e) { return HasAsciiLetter(e.Name); });
    if (probe == entries.end())
        return fatFamily;
    std::string flipped = probe->Name;
    for (char& c : flipped)
        if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z')
            c ^= 0x20;
    struct stat st;
    if (fstatat(dir, flipped.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    return std::none_of(entries.begin(), entries.end(),
                        [&](const FolderEntry& e) { return e.Name == flipped; });
}

} // namespace

bool FatRefusesName(std::string_view name)
{
    return std::any_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 ||
               std::string_view("\"*/:<>?\\|").find(c) != std::string_view::npos;
    });
}

FolderSnapshot ReadFolderSnapshot(const std::string& folder)
{
    std::unique_ptr<DIR, DirCloser> d(opendir(folder.c_str()));
    if (!d)
        throw EFileError(FileErrorMessage("フォルダを開けません", folder, errno));
    const int dir = dirfd(d.get());
    FolderSnapshot s;
    const long nameMax = fpathconf(dir, _PC_NAME_MAX);
    s.NameMax = nameMax > 0 ? static_cast<std::size_t>(nameMax) : NAME_MAX;
    // A rename needs to write and search the folder; a read-only mount says no here as well,
    // and so does a folder marked immutable or append-only (no entry may leave it).
    s.Writable = faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
    struct statx sx{};
    if (statx(dir, "", AT_EMPTY_PATH, STATX_MODE | STATX_UID, &sx) != 0)
        sx = {};
    else if ((sx.stx_attributes & (STATX_ATTR_IMMUTABLE | STATX_ATTR_APPEND)) != 0)
        s.Writable = false;
    // In a sticky folder (/tmp, shared folders) only the owner of an entry or of the folder
    // may rename it, unless CAP_FOWNER (root) overrides; only there each entry is looked at.
    const uid_t me = geteuid();
    const bool stickyForeign = s.Writable && (sx.stx_mode & S_ISVTX) != 0 && sx.stx_uid != me &&
                               !HasCapability(CAP_FOWNER);
    // FAT and exFAT by the kernel's drivers show their own magic numbers. FUSE drivers all
    // show FUSE's: there the mount's type tells ("fuse.fusefat"), and a block-device FUSE
    // mount ("fuseblk", which exfat-fuse gives and ntfs-3g too) counts as FAT's kin when it
    // folds letter case, which ntfs-3g does not.
    struct statfs fs;
    bool fatFamily = false, fuseBlock = false;
    if (fstatfs(dir, &fs) == 0) {
        if (fs.f_type == MSDOS_SUPER_MAGIC || fs.f_type == EXFAT_SUPER_MAGIC) {
            fatFamily = true;
        } else if (fs.f_type == FUSE_SUPER_MAGIC) {
            struct stat st;
            const std::string type = fstat(dir, &st) == 0 ? MountType(st.st_dev) : std::string();
            fatFamily = type.starts_with("fuse.") && type.find("fat") != std::string::npos;
            fuseBlock = type == "fuseblk";
        }
    }
    // A file marked immutable or append-only keeps its name whatever the rights; each entry is
    // looked at only where the file system keeps such marks.
    constexpr auto kPinned = STATX_ATTR_IMMUTABLE | STATX_ATTR_APPEND;
    const bool pinnable = (sx.stx_attributes_mask & kPinned) != 0;
    errno = 0;
    while (const dirent* e = readdir(d.get())) {
        if (IsDotOrDotDot(e->d_name))
            continue;
        s.Entries.push_back({e->d_name, KindOf(d.get(), e), false});
        errno = 0;
    }
    if (errno != 0)
        throw EFileError(FileErrorMessage("フォルダを読めません", folder, errno));
    if (stickyForeign || pinnable) {
        // One statx an entry is most of the snapshot's time on a big folder: on two threads.
        const auto lookAt = [&](std::size_t from, std::size_t to) {
            for (std::size_t i = from; i < to; ++i) {
                FolderEntry& entry = s.Entries[i];
                // Folders are no rows: only the sticky folder's owner rule may matter for them.
                const bool pinCheck = pinnable && entry.Kind != EntryKind::Folder;
                struct statx ex;
                if ((stickyForeign || pinCheck) &&
                    statx(dir, entry.Name.c_str(), AT_SYMLINK_NOFOLLOW | AT_STATX_DONT_SYNC,
                          stickyForeign ? STATX_UID : 0, &ex) == 0)
                    entry.Locked = (stickyForeign && ex.stx_uid != me) || (pinCheck && (ex.stx_attributes & kPinned) != 0);
            }
        };
        const std::size_t n = s.Entries.size(), half = n / 2;
        std::optional<std::thread> helper;
        if (n >= 4096 && std::thread::hardware_concurrency() > 1) {
            try {
                helper.emplace(lookAt, half, n);
            } catch (const std::system_error&) {
                // no thread to be had: all of it here
            }
        }
        lookAt(0, helper ? half : n);
        if (helper)
            helper->join();
    }
    s.FoldsCase = FoldsCaseOf(dir, s.Entries, fatFamily);
    s.FatNames = fatFamily || (fuseBlock && s.FoldsCase);
    // Their long names hold 255 UTF-16 code units, however many bytes the kernel says.
    if (s.FatNames) {
        s.NameMax = 255;
        s.NameMaxInUtf16 = true;
    }
    return s;
}

} // namespace platform
