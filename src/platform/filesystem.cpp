#include "platform/filesystem.h"

#include "base/casefold.h"
#include "base/errors.h"
#include "platform/filestart.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/sysmacros.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace platform {
namespace {

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// Owns a file descriptor; close() reports the error a late write failure shows only there.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now; the errno value of a failure, 0 on success.
    int close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int fd_;
};

DirHandle OpenFolder(const std::string& folder)
{
    DIR* d = opendir(folder.c_str());
    if (!d)
        throw EFileError(FileErrorMessage("フォルダを開けません", folder, errno));
    return DirHandle(d);
}

// Whether an entry is a folder, following symbolic links; d_type saves a stat per entry.
bool EntryIsFolder(DIR* d, const dirent* e)
{
    if (e->d_type == DT_DIR)
        return true;
    if (e->d_type != DT_LNK && e->d_type != DT_UNKNOWN)
        return false;
    struct stat st;
    if (fstatat(dirfd(d), e->d_name, &st, 0) != 0)
        return false; // a dangling link is listed as a file
    return S_ISDIR(st.st_mode);
}

// Calls take(d, entry) for every visible entry of folder.
template <typename Take>
void ReadEntries(const std::string& folder, Take take)
{
    DirHandle d = OpenFolder(folder);
    errno = 0;
    while (const dirent* e = readdir(d.get())) {
        if (e->d_name[0] != '.')
            take(d.get(), e);
        errno = 0;
    }
    if (errno != 0)
        throw EFileError(FileErrorMessage("フォルダを読めません", folder, errno));
}

template <typename Keep>
std::vector<std::string> ListEntries(const std::string& folder, Keep keep)
{
    std::vector<std::string> names;
    ReadEntries(folder, [&](DIR* d, const dirent* e) {
        if (keep(d, e))
            names.emplace_back(e->d_name);
    });
    return names;
}

} // namespace

std::vector<std::string> ListFiles(const std::string& folder)
{
    return ListEntries(folder, [](DIR* d, const dirent* e) { return !EntryIsFolder(d, e); });
}

std::vector<std::string> ListSubfolders(const std::string& folder)
{
    return ListEntries(folder, [](DIR* d, const dirent* e) { return EntryIsFolder(d, e); });
}

FolderEntries ListFolder(const std::string& folder)
{
    FolderEntries entries;
    ReadEntries(folder, [&](DIR* d, const dirent* e) {
        (EntryIsFolder(d, e) ? entries.Subfolders : entries.Files).emplace_back(e->d_name);
    });
    return entries;
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool IsFolder(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void CheckFolderEnterable(const std::string& folder)
{
    struct stat st;
    if (stat(folder.c_str(), &st) != 0)
        throw EFileError(FileErrorMessage("フォルダを開けません", folder, errno));
    if (!S_ISDIR(st.st_mode))
        throw EFileError(FileErrorMessage("フォルダを開けません", folder, ENOTDIR));
    OpenFolder(folder);
}

namespace {
bool IsBareName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// dir is AT_FDCWD for full paths or an open folder for bare names.
bool IsFileAt(int dir, const char* name)
{
    struct stat st;
    return fstatat(dir, name, &st, 0) == 0 && !S_ISDIR(st.st_mode);
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool SameEntryAt(int dir, const char* a, const char* b)
{
    struct stat sa, sb;
    return fstatat(dir, a, &sa, AT_SYMLINK_NOFOLLOW) == 0 &&
           fstatat(dir, b, &sb, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(sa, sb);
}

bool AsciiFoldEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x != y && ((x | 0x20) != (y | 0x20) || (x | 0x20) < 'a' || (x | 0x20) > 'z'))
            return false;
    }
    return true;
}

// Whether two names are one on a disk that folds letter case: ASCII letters at once, others
// (Ä and ä, Ｋ and ｋ on exFAT) by the one case fold the trial run uses too.
bool FoldsAlike(std::string_view a, std::string_view b)
{
    if (AsciiFoldEqual(a, b))
        return true;
    const auto wide = [](std::string_view n) {
        return std::any_of(n.begin(), n.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    };
    return (wide(a) || wide(b)) && FoldedCase(a) == FoldedCase(b);
}

// Whether the folder holds an entry of exactly this name; path is a bare name when dir is
// an open folder, else a full path.
bool ListsExactly(int dir, const std::string& folderPart, std::string_view path)
{
    const std::string_view name = path.substr(path.rfind('/') + 1);
    const int fd = dir == AT_FDCWD
                       ? open(folderPart.empty() ? "." : folderPart.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                       : openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true; // can't tell: taken as another entry, which is never wrong to say
    DirHandle d(fdopendir(fd));
    if (!d) {
        ::close(fd);
        return true;
    }
    while (const dirent* e = readdir(d.get()))
        if (name == e->d_name)
            return true;
    return false;
}

// Whether the name to finds the file from itself rather than an entry of its own: a folder
// that folds letter case. FUSE file systems (exfat-fuse, fusefat) number each name they are
// asked for apart, so there one file shows two numbers. Then the new name is the file itself
// when it differs in letter case only (ASCII letters: the common case of extensions and
// camera names) and the folder folds case: two entries that fold alike can't both be there.
// Whether it folds is learnt once per folder (folds: -1 unknown, 0 no, 1 yes) from whether
// the folder lists an entry of exactly the new name, so a run over a whole card reads the
// folder once, not once a file.
bool FindsItself(int dir, const std::string& folderPart, const char* from, const char* to,
                 signed char& folds)
{
    struct stat sa, sb;
    if (fstatat(dir, from, &sa, AT_SYMLINK_NOFOLLOW) != 0 ||
        fstatat(dir, to, &sb, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (SameFile(sa, sb))
        return true;
    if (!FoldsAlike(from, to))
        return false;
    if (folds < 0) {
        if (ListsExactly(dir, folderPart, to))
            folds = 0;
        // Learnt only while the new name still answers: an entry that went away while the
        // folder was read (another program at work in it) proves nothing about folding.
        else if (fstatat(dir, to, &sb, AT_SYMLINK_NOFOLLOW) == 0)
            folds = 1;
        else
            return false;
    }
    return folds == 1;
}

bool IsEntryAt(int dir, const char* name, const struct stat& entry)
{
    struct stat now;
    return fstatat(dir, name, &now, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(now, entry);
}

// Whether name still holds the empty claim made as claim. A FUSE driver numbers a file anew
// once the kernel has forgotten it (any program may make it forget: memory pressure,
// drop_caches), so there an empty regular file of the claim's modification time is the claim:
// removing or replacing it loses no data.
bool IsClaimAt(int dir, const char* name, const struct stat& claim)
{
    struct stat now;
    if (fstatat(dir, name, &now, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    return SameFile(now, claim) ||
           (now.st_dev == claim.st_dev && S_ISREG(now.st_mode) && now.st_size == 0 && claim.st_size == 0 &&
            now.st_mtim.tv_sec == claim.st_mtim.tv_sec && now.st_mtim.tv_nsec == claim.st_mtim.tv_nsec);
}

// How one move is made where the system refuses the better ways: RENAME_NOREPLACE, else a
// hard link (which refuses an existing name just the same) and unlink, else a claim on the
// new name made with an exclusive create and a plain rename onto that claim (FUSE file
// systems such as exfat-fuse, fusefat and sshfs offer neither of the first two).
enum class Way : unsigned char { NoReplace, Link, Claim };

// Exists: an entry holds the new name, which may be the file itself on a folder that folds
// letter case.
enum class Moved : unsigned char { Renamed, Exists, Failed };

std::atomic<RenameStepHook> stepHook{nullptr};

// Before every step that changes the folder.
void Step()
{
    if (const RenameStepHook hook = stepHook.load(std::memory_order_relaxed))
        hook();
}

bool LinkUnsupported(int e)
{
    return e == EPERM || e == EOPNOTSUPP || e == ENOSYS || e == EXDEV || e == EMLINK;
}

Moved LinkThenUnlinkAt(int dir, const char* from, const char* to)
{
    Step();
    if (unlinkat(dir, from, 0) != 0) {
        // Keep one name for the file, the old one; the new name goes only while it is still
        // the link just made, never a file that took its place meanwhile.
        if (SameEntryAt(dir, from, to))
            unlinkat(dir, to, 0);
        return Moved::Failed;
    }
    return Moved::Renamed;
}

Moved ClaimThenRenameAt(int dir, const char* from, const char* to)
{
    Step();
    const int fd = openat(dir, to, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST ? Moved::Exists : Moved::Failed;
    struct stat claim;
    // Seen again while still open, so that the kernel can't forget it in between.
    const bool ours = fstat(fd, &claim) == 0 && IsEntryAt(dir, to, claim);
    ::close(fd);
    // The plain rename replaces whatever holds the name: only the empty claim made here may
    // be replaced.
    if (!ours)
        return Moved::Failed; // not ours any more: left alone
    Step();
    if (renameat(dir, from, dir, to) == 0)
        return Moved::Renamed;
    if (IsClaimAt(dir, to, claim))
        unlinkat(dir, to, 0);
    return Moved::Failed;
}

// One move that never replaces. An EINVAL from RENAME_NOREPLACE means either that the file
// system lacks it or that it refuses the name (a ":" on FAT): the next way tells which, and
// way moves on for the rest of the folder only once a later way has actually renamed. A
// refused name thus fails for its own file alone.
Moved MoveAt(int dir, const char* from, const char* to, Way& way)
{
    const Way start = way;
    if (start == Way::NoReplace) {
        Step();
        if (renameat2(dir, from, dir, to, RENAME_NOREPLACE) == 0)
            return Moved::Renamed;
        if (errno == EEXIST)
            return Moved::Exists;
        if (errno != EINVAL)
            return Moved::Failed;
    }
    if (start != Way::Claim) {
        Step();
        if (linkat(dir, from, dir, to, 0) == 0) {
            if (way == Way::NoReplace)
                way = Way::Link;
            return LinkThenUnlinkAt(dir, from, to);
        }
        if (errno == EEXIST)
            return Moved::Exists;
        if (!LinkUnsupported(errno))
            return Moved::Failed;
    }
    const Moved m = ClaimThenRenameAt(dir, from, to);
    if (m == Moved::Renamed)
        way = Way::Claim;
    return m;
}

// A name of our own beside the file; the folder part (with its "/") when dir is AT_FDCWD.
// With a stem the name is one a record knows beforehand.
std::string TemporaryName(const std::string& folderPart, TemporaryStem stem, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    if (stem.Token != 0)
        return folderPart + TemporaryStemText(stem) + "-" + std::to_string(attempt) + ".tmp";
    return folderPart + ".pelkorin-" + std::to_string(getpid()) + "-" +
           std::to_string(counter.fetch_add(1, std::memory_order_relaxed)) + "-" +
           std::to_string(attempt) + ".tmp";
}

// The new name finds the file itself: a folder that folds letter case. The system refuses a
// direct rename there (EEXIST) or does nothing at all, so the file goes through a free name
// of its own and then takes the new name's exact bytes.
Moved RenameThroughTemporary(int dir, const std::string& folderPart, TemporaryStem stem,
                             const char* from, const char* to, Way& way)
{
    std::string temp;
    for (unsigned attempt = 0;; ++attempt) {
        if (attempt == 16)
            return Moved::Failed;
        temp = TemporaryName(folderPart, stem, attempt);
        const Moved m = MoveAt(dir, from, temp.c_str(), way);
        if (m == Moved::Renamed)
            break;
        if (m == Moved::Failed)
            return m;
    }
    // With the file out of the way, an entry still under the new name is another one (a
    // second hard link where case is kept apart, or a file that came meanwhile): taken, and
    // the file goes back. Should another program take both names meanwhile, the file keeps
    // trying for a while rather than stay hidden under the temporary name.
    Moved m = Moved::Failed;
    for (int round = 0; round < 100; ++round) {
        m = MoveAt(dir, temp.c_str(), to, way);
        if (m == Moved::Renamed || MoveAt(dir, temp.c_str(), from, way) == Moved::Renamed)
            return m;
        std::this_thread::yield();
    }
    return m;
}

Way FirstWay(RenameWays ways)
{
    return ways.NoReplace ? Way::NoReplace : Way::Link;
}

Moved RenameAt(int dir, const std::string& folderPart, const char* from, const char* to, Way& way,
               signed char& folds, TemporaryStem stem = {})
{
    const Moved m = MoveAt(dir, from, to, way);
    if (m != Moved::Exists || std::string_view(from) == to || !FindsItself(dir, folderPart, from, to, folds))
        return m;
    return RenameThroughTemporary(dir, folderPart, stem, from, to, way);
}
} // namespace

RenameResult RenameNoReplace(const std::string& from, const std::string& to, RenameWays ways)
{
    Way way = FirstWay(ways);
    signed char folds = -1;
    const std::size_t slash = to.rfind('/');
    const std::string folderPart = slash == std::string::npos ? std::string() : to.substr(0, slash + 1);
    switch (RenameAt(AT_FDCWD, folderPart, from.c_str(), to.c_str(), way, folds)) {
    case Moved::Renamed: return RenameResult::Renamed;
    case Moved::Exists: return RenameResult::Taken;
    case Moved::Failed: break;
    }
    return RenameResult::Failed;
}

FolderHandle::FolderHandle(const std::string& folder, RenameWays ways)
    : fd_(open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)),
      way_(static_cast<unsigned char>(FirstWay(ways)))
{
}

FolderHandle::~FolderHandle()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::string TemporaryStemText(TemporaryStem stem)
{
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(stem.Token));
    return ".pelkorin-" + std::string(hex) + "-" + std::to_string(stem.Index);
}

void SetRenameStepHook(RenameStepHook hook)
{
    stepHook.store(hook, std::memory_order_relaxed);
}

RenameResult FolderHandle::RenameNoReplace(const std::string& from, const std::string& to,
                                           TemporaryStem temporaryStem) const
{
    if (!valid() || !IsBareName(from) || !IsBareName(to))
        return RenameResult::Failed;
    Way way = static_cast<Way>(way_);
    const Moved m = RenameAt(fd_, std::string(), from.c_str(), to.c_str(), way, folds_, temporaryStem);
    way_ = static_cast<unsigned char>(way);
    if (m == Moved::Renamed)
        return RenameResult::Renamed;
    // EEXIST also comes from a folder of that name, which is no taken file name. Exists here
    // is never the file itself: that one went its own way above.
    if (m == Moved::Exists)
        return IsFileAt(fd_, to.c_str()) ? RenameResult::Taken : RenameResult::Failed;
    // A rename refused before the target was looked at (the file gone, a read-only disk) must
    // not hide a file that holds the name; but the file itself under a name that differs in
    // letter case only is no other file.
    return IsFileAt(fd_, to.c_str()) && !FindsItself(fd_, std::string(), from.c_str(), to.c_str(), folds_)
               ? RenameResult::Taken
               : RenameResult::Failed;
}

bool FolderHandle::FileExists(const std::string& name) const
{
    return valid() && IsBareName(name) && IsFileAt(fd_, name.c_str());
}

bool FolderHandle::RemoveFile(const std::string& name) const
{
    // Without AT_REMOVEDIR a folder fails with EISDIR and stays.
    return valid() && IsBareName(name) && unlinkat(fd_, name.c_str(), 0) == 0;
}

// --- File identity ---
namespace {
// One statx for device, inode and birth time; the birth time only where the file system
// reports it (stx_mask), and never one before the epoch, which no file of ours can have.
std::optional<FileIdentity> IdentityAt(int dir, const char* name, int flags)
{
    struct statx sx;
    if (statx(dir, name, flags | AT_SYMLINK_NOFOLLOW | AT_STATX_SYNC_AS_STAT,
              STATX_TYPE | STATX_INO | STATX_BTIME | STATX_SIZE | STATX_MTIME, &sx) != 0 ||
        !(sx.stx_mask & STATX_INO))
        return std::nullopt;
    FileIdentity id{static_cast<uint64_t>(makedev(sx.stx_dev_major, sx.stx_dev_minor)), sx.stx_ino, 0, sx.stx_size,
                    static_cast<int64_t>(sx.stx_mtime.tv_sec) * 1000000000 + sx.stx_mtime.tv_nsec,
                    S_ISREG(sx.stx_mode)};
    if ((sx.stx_mask & STATX_BTIME) && sx.stx_btime.tv_sec >= 0)
        id.Birth = static_cast<uint64_t>(sx.stx_btime.tv_sec) * 1000000000u + sx.stx_btime.tv_nsec;
    return id;
}
} // namespace

std::optional<FileIdentity> FolderHandle::IdentityOf(const std::string& name) const
{
    if (!valid() || !IsBareName(name))
        return std::nullopt;
    return IdentityAt(fd_, name.c_str(), 0);
}

std::vector<std::optional<FileIdentity>> FolderHandle::IdentitiesOf(const std::vector<const std::string*>& names) const
{
    std::vector<std::optional<FileIdentity>> ids(names.size());
    const auto readSlice = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            ids[i] = IdentityOf(*names[i]);
    };
    // A statx costs about a microsecond: below some thousands a thread costs more than it saves.
    constexpr std::size_t kWorthAThread = 4096;
    const std::size_t half = names.size() / 2;
    std::optional<std::thread> helper;
    if (names.size() >= kWorthAThread && std::thread::hardware_concurrency() > 1) {
        try {
            helper.emplace(readSlice, half, names.size());
        } catch (const std::system_error&) {
            // no thread to be had: all of it here
        }
    }
    readSlice(0, helper ? half : names.size());
    if (helper)
        helper->join();
    return ids;
}

std::optional<FileIdentity> FolderHandle::Identity() const
{
    if (!valid())
        return std::nullopt;
    return IdentityAt(fd_, "", AT_EMPTY_PATH);
}

bool FolderHandle::LooseIdentity() const
{
    constexpr long kFuse = 0x65735546, kMsdos = 0x4d44, kExfat = 0x2011BAB0;
    struct statfs fs;
    if (!valid() || fstatfs(fd_, &fs) != 0)
        return false;
    const long type = static_cast<long>(fs.f_type);
    return type == kFuse || type == kMsdos || type == kExfat;
}

std::vector<std::string> FolderHandle::AllNames() const
{
    std::vector<std::string> names;
    const int fd = valid() ? openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    if (fd < 0)
        return names;
    DirHandle d(fdopendir(fd));
    if (!d) {
        ::close(fd);
        return names;
    }
    while (const dirent* e = readdir(d.get()))
        if (std::string_view n = e->d_name; n != "." && n != "..")
            names.emplace_back(n);
    return names;
}
// --- end of file identity ---

std::string ReadWholeFile(const std::string& path, std::size_t maxBytes)
{
    // Only a regular file is opened at all, so a named pipe or a device under a file's name
    // can neither stall the window nor be touched. A folder keeps the message its failed
    // read used to give.
    int error = 0;
    std::size_t size = 0;
    Descriptor fd(OpenRegularFile(path, error, &size));
    if (!fd.valid()) {
        const char* action = error == EISDIR ? "ファイルを読めません" : "ファイルを開けません";
        throw EFileError(FileErrorMessage(action, path, error));
    }
    if (size > maxBytes)
        throw EFileError(FileErrorMessage("ファイルを読めません", path, EFBIG));
    // Read straight into the string, sized as the file was when opened (one byte more to see
    // its end at once); a file that grows meanwhile is read on in steps.
    const std::size_t cap = maxBytes < SIZE_MAX ? maxBytes + 1 : maxBytes;
    std::string data(size + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == data.size())
            data.resize(std::min(std::max<std::size_t>(data.size() * 2, 65536), cap));
        const ssize_t n = read(fd.get(), data.data() + used, data.size() - used);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw EFileError(FileErrorMessage("ファイルを読めません", path, errno));
        }
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
        if (used > maxBytes)
            throw EFileError(FileErrorMessage("ファイルを読めません", path, EFBIG));
    }
    data.resize(used);
    return data;
}

std::string CurrentFolder()
{
    std::string buffer(4096, '\0');
    if (!getcwd(buffer.data(), buffer.size()))
        return "/";
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

void EnterFolder(const std::string& folder)
{
    if (chdir(folder.c_str()) != 0)
        throw EFileError(FileErrorMessage("フォルダを開けません", folder, errno));
}

} // namespace platform
