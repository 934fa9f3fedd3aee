// Moving between folders without a display: volumes, resolution of a path, the fallback,
// the step to the next folder.
#include "base/errors.h"
#include "filelist/navigation.h"
#include "support/permissionoverride.h"
#include "support/rowname.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct VolumeCase {
    const char* folder;
    const char* volume;
};

class VolumeOfRows : public testing::TestWithParam<VolumeCase> {};

TEST_P(VolumeOfRows, IsTheLongestMountPointHoldingTheFolder)
{
    FolderNavigation nav;
    nav.SetVolumes({{"/", ""}, {"/media/usb", "USB"}, {"/media/usb/inner", ""}, {"/media/usb2", ""}});
    EXPECT_EQ(nav.VolumeOf(GetParam().folder), GetParam().volume) << GetParam().folder;
}

const VolumeCase kVolumeCases[] = {
    {"/home/me", "/"},
    {"/media/usb", "/media/usb"},
    {"/media/usb/photos", "/media/usb"},
    {"/media/usb/inner/x", "/media/usb/inner"},
    {"/media/usb2/x", "/media/usb2"},
    {"/media/usb22", "/"},
    {"/", "/"},
};

INSTANTIATE_TEST_SUITE_P(FolderNavigation, VolumeOfRows, testing::ValuesIn(kVolumeCases),
                         RowNames([](const VolumeCase& c) { return c.folder; }));

TEST(FolderNavigation, AVolumeOpensTheFolderLastVisitedOnIt)
{
    FolderNavigation nav;
    nav.SetVolumes({{"/", ""}, {"/media/usb", ""}});
    EXPECT_EQ(nav.FolderToOpenOn("/media/usb"), "/media/usb");
    nav.Visited("/media/usb/a");
    nav.Visited("/home/me");
    nav.Visited("/media/usb/b");
    EXPECT_EQ(nav.FolderToOpenOn("/media/usb"), "/media/usb/b");
    EXPECT_EQ(nav.FolderToOpenOn("/"), "/home/me");
}

TEST(ResolveFolder, NormalisesAndTakesAFileToItsFolder)
{
    TempFolder t;
    t.MakeFolder("sub");
    t.Write("sub/photo.jpg", "x");
    t.Write("caf\xe9.txt", "x");
    EXPECT_EQ(ResolveFolder(t / "sub", "/"), t / "sub");
    EXPECT_EQ(ResolveFolder("sub/", t.path()), t / "sub");
    EXPECT_EQ(ResolveFolder("sub/../sub/./photo.jpg", t.path()), t / "sub");
    EXPECT_EQ(ResolveFolder("caf\xe9.txt", t.path()), t.path());
    EXPECT_EQ(ResolveFolder("..", t / "sub"), t.path());
    EXPECT_EQ(ResolveFolder("/", t.path()), "/");
}

TEST(ResolveFolder, AFolderThatCantBeEnteredIsAFileError)
{
    TempFolder t;
    EXPECT_THROW(ResolveFolder(t / "missing", "/"), EFileError);
    EXPECT_THROW(ResolveFolder("missing/deeper", t.path()), EFileError);
    t.MakeFolder("locked");
    ASSERT_EQ(chmod((t / "locked").c_str(), 0), 0);
    {
        const WithoutPermissionOverride asAUser; // root would enter anything
        EXPECT_THROW(ResolveFolder(t / "locked", "/"), EFileError);
    }
    chmod((t / "locked").c_str(), 0755);
}

TEST(ListingOrNothing, AVanishedFolderGivesNoNames)
{
    TempFolder t;
    t.Write("b.jpg");
    t.Write("A.jpg");
    const FolderListing listed = ListingOrNothing(t.path());
    EXPECT_EQ(listed.Folder, t.path());
    EXPECT_EQ(listed.Names, (std::vector<std::string>{"A.jpg", "b.jpg"}));
    const FolderListing gone = ListingOrNothing(t / "gone");
    EXPECT_EQ(gone.Folder, t / "gone");
    EXPECT_TRUE(gone.Names.empty());
}

TEST(NextFolder, ParentTextIsEverythingBeforeTheLastSlash)
{
    const struct { const char* folder; const char* text; const char* parent; } cases[] = {
        {"/home/me/2001", "/home/me", "/home/me"},
        {"/home", "", "/"},
        {"/", "/", "/"},
        {"/a/Photos/Photos", "/a/Photos", "/a/Photos"},
        // A name that is not UTF-8 is cut at the separator only.
        {"/x/\x95\x5c/\x83\x5c", "/x/\x95\x5c", "/x/\x95\x5c"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NextFolderParentText(c.folder), c.text) << c.folder;
        EXPECT_EQ(NextFolderParent(NextFolderParentText(c.folder)), c.parent) << c.folder;
    }
}

using Rows = std::vector<std::string>;

struct TargetCase {
    const char* label;
    std::string folder, parentText;
    Rows rows;
    int selected, target;
};

class NextFolderRowRows : public testing::TestWithParam<TargetCase> {};

TEST_P(NextFolderRowRows, TargetRowAfterTheLastMatch)
{
    const TargetCase& c = GetParam();
    EXPECT_EQ(NextFolderRow(c.folder, c.parentText, c.rows, c.selected), c.target) << c.label;
}

// The rows as the folder list shows the parent: the root, the way down with the parent's own
// row selected, then the parent's subfolders.
const Rows years = {"/", "home", "me", "2001", "2002", "2003"};

const TargetCase kTargetCases[] = {
    {"following sibling", "/home/me/2001", "/home/me", years, 2, 4},
    {"middle sibling", "/home/me/2002", "/home/me", years, 2, 5},
    {"last wraps to the first", "/home/me/2003", "/home/me", years, 2, 3},
    {"the only subfolder", "/home/me/only", "/home/me", {"/", "home", "me", "only"}, 2, 3},
    {"directly under the root", "/srv", "", {"/", "home", "srv", "tmp"}, 0, 3},
    {"last under the root wraps", "/tmp", "", {"/", "home", "srv", "tmp"}, 0, 1},
    {"hidden folder: no match opens the root", "/home/me/.cache", "/home/me", years, 2, 0},
    {"case differs: no match", "/home/me/2001", "/home/me", {"/", "home", "me", "2001X", "2OO1"}, 2, 0},
    {"a parent with no subfolders", "/home/me/gone", "/home/me", {"/", "home", "me"}, 2, 0},
    {"named like its parent: later match wins", "/a/Photos/Photos", "/a/Photos",
     {"/", "a", "Photos", "2020", "Photos", "Zoo"}, 2, 5},
    {"named like its parent, last: wraps", "/a/Photos/Photos", "/a/Photos",
     {"/", "a", "Photos", "2020", "Photos"}, 2, 3},
    {"named like its parent, the folder gone", "/a/Photos/Photos", "/a/Photos",
     {"/", "a", "Photos"}, 2, 0},
    {"raw bytes compared as bytes", "/x/\x83\x5c", "/x", {"/", "x", "\x83", "\x83\x5c", "z"}, 1, 4},
    {"rows above the parent's own row are not searched", "/p/q", "/p", {"/", "q", "p", "z"}, 2, 0},
    {"at the root nothing matches", "/", "/", {"/", "home", "tmp"}, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(NextFolder, NextFolderRowRows, testing::ValuesIn(kTargetCases),
                         RowNames([](const TargetCase& c) { return c.label; }));

} // namespace
