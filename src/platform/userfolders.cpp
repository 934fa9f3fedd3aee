#include "platform/userfolders.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

bool FolderWritable(const std::string& folder)
{
    return faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) == 0;
}

int MakeFolders(const std::string& folder)
{
    if (folder.empty())
        return ENOENT;
    // Every prefix that ends before a "/", then the whole path, shortest first.
    for (std::size_t i = 1; i <= folder.size(); ++i) {
        if (i < folder.size() && folder[i] != '/')
            continue;
        if (mkdir(folder.substr(0, i).c_str(), 0700) != 0 && errno != EEXIST)
            return errno;
    }
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0)
        return errno;
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

std::optional<std::string> EnvironmentValue(const char* name)
{
    if (const char* value = std::getenv(name))
        return std::string(value);
    return std::nullopt;
}

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir)
        return found->pw_dir;
    return {};
}

std::string PicturesFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty())
        return {};
    const std::string bytes = QFile::encodeName(folder).toStdString();
    struct stat st {};
    return stat(bytes.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? bytes : std::string();
}

} // namespace platform
