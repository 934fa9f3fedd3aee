#include "platform/volumes.h"

#include "base/paths.h"
#include "base/utf8.h"

#include <QFile>
#include <QStorageInfo>

#include <algorithm>
#include <set>

namespace platform {
namespace {

// Pseudo and system mounts are no place for photo folders.
bool IsSystemMount(const std::string& root, const std::string& type, const std::string& device)
{
    static const std::set<std::string> pseudoTypes = {
        "tmpfs", "overlay", "squashfs", "devtmpfs", "ramfs", "proc", "sysfs", "cgroup",
        "cgroup2", "devpts", "mqueue", "debugfs", "tracefs", "securityfs", "pstore",
        "autofs", "binfmt_misc", "configfs", "fusectl", "hugetlbfs", "bpf", "nsfs",
        "efivarfs", "fuse.snapfuse", "fuse.lxcfs", "fuse.portal", "fuse.gvfsd-fuse"};
    if (pseudoTypes.count(type) || device.starts_with("/dev/loop"))
        return true;
    for (const char* folder : {"/snap", "/boot", "/proc", "/sys", "/dev", "/var/lib/docker"})
        if (FolderIsUnder(root, folder))
            return true;
    return FolderIsUnder(root, "/run") && !FolderIsUnder(root, "/run/media");
}

} // namespace

std::vector<Volume> MountedVolumes()
{
    std::vector<Volume> volumes{{"/", ""}};
    for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
        if (!info.isValid())
            continue;
        std::string root = QFile::encodeName(info.rootPath()).toStdString();
        std::string type = info.fileSystemType().toStdString();
        std::string device = info.device().toStdString();
        std::string label = ToUtf8(info.name());
        if (root == "/") {
            volumes[0].Label = label;
            continue;
        }
        if (root.empty() || root[0] != '/' || IsSystemMount(root, type, device))
            continue;
        if (std::none_of(volumes.begin(), volumes.end(),
                         [&](const Volume& v) { return v.MountPoint == root; }))
            volumes.push_back({root, label});
    }
    std::sort(volumes.begin() + 1, volumes.end(),
              [](const Volume& a, const Volume& b) { return a.MountPoint < b.MountPoint; });
    return volumes;
}

} // namespace platform
