// Moving between folders without a display: volumes, resolution of a path, the fallback.
#include "base/errors.h"
#include "filelist/navigation.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(FolderNavigation, VolumeIsTheLongestMountPointHoldingTheFolder)
{
    FolderNavigation nav;
    nav.SetVolumes({{"/", ""}, {"/media/usb", "USB"}, {"/media/usb/inner", ""}, {"/media/usb2", ""}});
    const struct { const char* folder; const char* volume; } cases[] = {
        {"/home/me", "/"},
        {"/media/usb", "/media/usb"},
        {"/media/usb/photos", "/media/usb"},
        {"/media/usb/inner/x", "/media/usb/inner"},
        {"/media/usb2/x", "/media/usb2"},
        {"/media/usb22", "/"},
        {"/", "/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nav.VolumeOf(c.folder), c.volume) << c.folder;
}

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
    if (geteuid() != 0) { // root enters anything
        t.MakeFolder("locked");
        chmod((t / "locked").c_str(), 0);
        EXPECT_THROW(ResolveFolder(t / "locked", "/"), EFileError);
        chmod((t / "locked").c_str(), 0755);
    }
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

} // namespace
