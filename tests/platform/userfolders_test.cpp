// The two file-system questions behind the per-user settings file.
#include "platform/userfolders.h"

#include "support/permissionoverride.h"
#include "support/tempfolder.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

mode_t Mode(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

TEST(MakeFolders, CreatesMissingParentsPrivatelyAndKeepsWhatExists)
{
    TempFolder t;
    t.MakeFolder("kept");
    chmod((t / "kept").c_str(), 0755);
    t.Write("plain");
    const std::string deep = t / "kept/a/b/pelkorin";
    EXPECT_EQ(platform::MakeFolders(deep), 0);
    EXPECT_EQ(Mode(deep), 0700u);
    EXPECT_EQ(Mode(t / "kept/a"), 0700u);
    EXPECT_EQ(Mode(t / "kept"), 0755u);
    EXPECT_EQ(platform::MakeFolders(deep), 0) << "an existing folder is success";
    EXPECT_EQ(platform::MakeFolders(deep + "/"), 0);
    EXPECT_EQ(platform::MakeFolders(t / "plain"), ENOTDIR);
    EXPECT_EQ(platform::MakeFolders(t / "plain/pelkorin"), ENOTDIR);
    EXPECT_FALSE(t.Exists("plain/pelkorin"));
    EXPECT_NE(platform::MakeFolders(""), 0);
}

TEST(FolderWritable, FollowsTheModeForAUserAndRefusesMissingFolders)
{
    TempFolder t;
    t.MakeFolder("open");
    t.MakeFolder("locked");
    chmod((t / "locked").c_str(), 0555);
    {
        const WithoutPermissionOverride asUser;
        EXPECT_TRUE(platform::FolderWritable(t / "open"));
        EXPECT_FALSE(platform::FolderWritable(t / "locked"));
        EXPECT_FALSE(platform::FolderWritable(t / "missing"));
        EXPECT_EQ(platform::MakeFolders(t / "locked/pelkorin"), EACCES);
    }
    chmod((t / "locked").c_str(), 0755);
}

} // namespace
