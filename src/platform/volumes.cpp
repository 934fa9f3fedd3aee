#include "platform/volumes.h"

#include "base/paths.h"
#include "platform/mountinfo.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <map>
#include <memory>
#include <set>
#include <unistd.h>

namespace platform {
namespace {

// Pseudo and system mounts are no place for photo folders. The list names them by type, as
// nothing on them may be asked (a size of zero would tell, but asking can hang).
bool IsSystemMount(const std::string& root, const std::string& type, const std::string& device)
{
    static const std::set<std::string> pseudoTypes = {
        "tmpfs", "overlay", "squashfs", "devtmpfs", "ramfs", "proc", "sysfs", "cgroup",
        "cgroup2", "devpts", "mqueue", "debugfs", "tracefs", "securityfs", "pstore",
        "autofs", "binfmt_misc", "configfs", "fusectl", "hugetlbfs", "bpf", "nsfs",
        "efivarfs", "rootfs", "rpc_pipefs", "nfsd", "selinuxfs", "fuse.snapfuse",
        "fuse.lxcfs", "fuse.portal", "fuse.gvfsd-fuse"};
    if (pseudoTypes.count(type) || device.starts_with("/dev/loop"))
        return true;
    for (const char* folder : {"/snap", "/boot", "/proc", "/sys", "/dev", "/var/lib/docker", "/var/run", "/var/lock"})
        if (FolderIsUnder(root, folder))
            return true;
    return FolderIsUnder(root, "/run") && !FolderIsUnder(root, "/run/media");
}

// udev writes unsafe bytes of a label as \xNN: "\x20" is a space.
std::string DecodedLabel(const std::string& name)
{
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name.compare(i, 2, "\\x") == 0 && i + 3 < name.size() && std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
            out += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += name[i];
        }
    }
    return out;
}

// The device a path under /dev stands for, links resolved: /dev is the kernel's own and
// always answers, unlike the mounts the devices carry.
std::string DevicePath(const std::string& path)
{
    if (!path.starts_with("/dev/"))
        return path;
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

} // namespace

std::map<std::string, std::string> LabelsByDevice(const std::string& folder)
{
    std::map<std::string, std::string> labels;
    std::unique_ptr<DIR, int (*)(DIR*)> d(opendir(folder.c_str()), &closedir);
    if (!d)
        return labels;
    while (const dirent* e = readdir(d.get())) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        char device[PATH_MAX];
        if (realpath((folder + "/" + name).c_str(), device))
            labels.emplace(device, DecodedLabel(name));
    }
    return labels;
}

std::vector<Volume> VolumesOf(const std::vector<MountEntry>& mounts,
                              const std::map<std::string, std::string>& labels)
{
    // A later mount on the same point lies over the earlier ones: the top one is what a
    // folder there shows.
    std::map<std::string, const MountEntry*> top;
    for (const MountEntry& m : mounts)
        top[m.MountPoint] = &m;
    const auto labelOf = [&](const MountEntry& m) {
        const auto found = m.Source.starts_with("/dev/") ? labels.find(DevicePath(m.Source)) : labels.end();
        return found != labels.end() ? found->second : std::string();
    };
    std::vector<Volume> volumes{{"/", ""}};
    for (const auto& [root, m] : top) {
        if (root == "/") {
            volumes[0].Label = labelOf(*m);
            continue;
        }
        if (root.empty() || root[0] != '/' || IsSystemMount(root, m->Type, m->Source))
            continue;
        volumes.push_back({root, labelOf(*m)});
    }
    // The map kept them in byte order of their mount points.
    return volumes;
}

std::vector<Volume> MountedVolumes()
{
    return VolumesOf(ReadMountInfo(), LabelsByDevice("/dev/disk/by-label"));
}

} // namespace platform
