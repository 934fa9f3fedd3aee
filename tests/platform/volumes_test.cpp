// The drive list from the kernel's list of mounts: which mounts stand for drives, in which
// order, with which labels, read from mountinfo lines as the kernel writes them.
#include "platform/volumes.h"

#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using platform::Volume;

std::string Shown(const std::vector<Volume>& volumes)
{
    std::string text;
    for (const Volume& v : volumes)
        text += v.MountPoint + (v.Label.empty() ? "" : " [" + v.Label + "]") + "|";
    return text;
}

std::vector<platform::MountEntry> Parsed(const std::vector<std::string>& lines)
{
    std::vector<platform::MountEntry> mounts;
    for (const std::string& line : lines)
        if (auto m = platform::ParseMountInfoLine(line))
            mounts.push_back(*m);
    return mounts;
}

TEST(Volumes, FromMountInfoLines)
{
    const std::map<std::string, std::string> labels = {{"/dev/sdb1", "CARD"}, {"/dev/vda", "ROOT"}};
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        std::string shown;
    } cases[] = {
        {"root first and labelled, the rest in byte order, optional fields skipped",
         {"30 1 8:17 / /media/z rw shared:5 master:2 - vfat /dev/sdb1 rw",
          "27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw",
          "31 1 0:50 / /home rw - btrfs /dev/sdc rw"},
         "/ [ROOT]|/home|/media/z [CARD]|"},
        {"octal escapes in the mount point; the source's decoded too",
         {"40 27 8:17 / /media/My\\040Card\\134x rw - exfat /dev/sdb1 rw",
          "41 27 0:60 / /mnt/t\\011ab rw - fuse.sshfs me@host:/my\\040files rw"},
         "/|/media/My Card\\x [CARD]|/mnt/t\tab|"},
        {"pseudo, system and loop mounts are left out, /run/media stays",
         {"22 27 0:21 / /proc rw - proc proc rw", "25 24 0:23 / /dev/shm rw - tmpfs tmpfs rw",
          "50 27 0:70 / /tmp rw - tmpfs tmpfs rw", "51 27 7:0 / /mnt/img rw - ext4 /dev/loop0 rw",
          "52 27 8:1 / /boot/efi rw - vfat /dev/sda1 rw", "53 27 0:71 / /run/user/1000 rw - tmpfs tmpfs rw",
          "54 27 0:72 / /run/user/1000/doc rw - fuse.portal portal rw",
          "55 27 8:17 / /run/media/me/CARD rw - vfat /dev/sdb1 rw",
          "56 27 0:73 / /snap/core/1 ro - squashfs /dev/loop3 ro",
          "57 27 0:74 / /var/run/x rw - ext4 /dev/sdd rw",
          "58 27 0:75 / /mnt/share rw - nfs4 srv:/share rw"},
         "/|/mnt/share|/run/media/me/CARD [CARD]|"},
        {"a FUSE mount is listed by its line alone, whatever its driver does",
         {"60 27 0:80 / /tmp2/hung rw,nosuid,nodev - fuse pelkorin-hang rw,user_id=0,group_id=0"},
         "/|/tmp2/hung|"},
        {"a mount over another: the top one decides",
         {"61 27 0:81 / /mnt/a rw - ext4 /dev/sdb1 rw", "62 61 0:82 / /mnt/a rw - tmpfs tmpfs rw",
          "63 27 0:83 / /mnt/b rw - tmpfs tmpfs rw", "64 63 8:17 / /mnt/b rw - vfat /dev/sdb1 rw"},
         "/|/mnt/b [CARD]|"},
        {"lines that are not mounts are skipped",
         {"", "garbage", "70 27 x:1 / /mnt/c rw - ext4 /dev/sde rw", "71 27 8:1 / /mnt/d rw ext4 /dev/sde rw",
          "72 27 8:1 / /mnt/e rw -", "73 27 8:2 / /mnt/f rw - ext4 /dev/sdf rw\n"},
         "/|/mnt/f|"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Shown(platform::VolumesOf(Parsed(c.lines), labels)), c.shown) << c.what;
}

// Labels come from udev's links, named with \xNN escapes, keyed by the device they resolve to.
TEST(Volumes, LabelsFromDeviceLinks)
{
    TempFolder t;
    std::filesystem::create_symlink("/dev/null", t / "My\\x20Card\\x2fA");
    std::filesystem::create_symlink("/dev/zero", t / "\xe5\x86\x99\xe7\x9c\x9f");
    std::filesystem::create_symlink("nowhere", t / "GONE");
    const std::map<std::string, std::string> expected = {{"/dev/null", "My Card/A"},
                                                         {"/dev/zero", "\xe5\x86\x99\xe7\x9c\x9f"}};
    EXPECT_EQ(platform::LabelsByDevice(t.path()), expected);
    EXPECT_TRUE(platform::LabelsByDevice(t / "absent").empty());
}

} // namespace
