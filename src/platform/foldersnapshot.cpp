#include "platform/foldersnapshot.h"

#include "base/errors.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
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

} // namespace

FolderSnapshot ReadFolderSnapshot(const std::string& folder)
{
    std::unique_ptr<DIR, DirCloser> d(opendir(folder.c_str()));
    if (!d)
        throw EFileError(FileErrorMessage("フォルダを開けません", folder, errno));
    FolderSnapshot s;
    const long nameMax = fpathconf(dirfd(d.get()), _PC_NAME_MAX);
    s.NameMax = nameMax > 0 ? static_cast<std::size_t>(nameMax) : NAME_MAX;
    // A rename needs to write and search the folder; a read-only mount says no here as well.
    s.Writable = faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
    errno = 0;
    while (const dirent* e = readdir(d.get())) {
        if (!IsDotOrDotDot(e->d_name))
            s.Entries.push_back({e->d_name, KindOf(d.get(), e)});
        errno = 0;
    }
    if (errno != 0)
        throw EFileError(FileErrorMessage("フォルダを読めません", folder, errno));
    return s;
}

} // namespace platform
