// Folder paths and the listing order, without a display.
#include "filelist/listingorder.h"
#include "base/paths.h"
#include "support/rowname.h"

#include <gtest/gtest.h>

namespace {

struct NormalizeCase {
    const char* path;
    const char* base;
    const char* expected;
};

class NormalizeRows : public testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizeRows, Normalize)
{
    const NormalizeCase& c = GetParam();
    EXPECT_EQ(NormalizeFolderPath(c.path, c.base), c.expected) << c.path << " in " << c.base;
}

const NormalizeCase kNormalizeCases[] = {
    {"/a/b", "/x", "/a/b"},        {"/a/b/", "/x", "/a/b"},   {"//a//b", "/x", "/a/b"},
    {"b", "/a", "/a/b"},           {"../c", "/a/b", "/a/c"},  {"/..", "/x", "/"},
    {"/a/./b/..", "/x", "/a"},     {".", "/", "/"},           {"sub", "/", "/sub"},
    {"/caf\xe9", "/", "/caf\xe9"}, {"", "/a/b", "/a/b"},
};

INSTANTIATE_TEST_SUITE_P(FolderPaths, NormalizeRows, testing::ValuesIn(kNormalizeCases),
                         RowNames([](const NormalizeCase& c) {
                             return std::string(c.path) + " in " + c.base;
                         }));

TEST(FolderPaths, ParentJoinAndMountPoints)
{
    EXPECT_EQ(ParentFolder("/a/b"), "/a");
    EXPECT_EQ(ParentFolder("/a"), "/");
    EXPECT_EQ(ParentFolder("/"), "/");
    EXPECT_EQ(JoinPath("/", "b"), "/b");
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(PathComponents("/a/b"), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(PathComponents("/").empty());
    EXPECT_TRUE(FolderIsUnder("/media/usb/photos", "/media/usb"));
    EXPECT_TRUE(FolderIsUnder("/media/usb", "/media/usb"));
    EXPECT_FALSE(FolderIsUnder("/media/usb2", "/media/usb"));
    EXPECT_TRUE(FolderIsUnder("/anything", "/"));
    EXPECT_TRUE(FolderIsUnder("/", "/"));
    EXPECT_FALSE(FolderIsUnder("relative/x", "/"));
    EXPECT_FALSE(FolderIsUnder("/media", "/media/usb"));
    EXPECT_EQ(FolderPrefix("/a/b"), "/a/b/");
    EXPECT_EQ(FolderPrefix("/"), "/");
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
}

TEST(FolderPaths, NormalizeKeepsRawBytesAndRoot)
{
    EXPECT_EQ(NormalizeFolderPath("///", "/x"), "/");
    EXPECT_EQ(NormalizeFolderPath("/a/b/../../..", "/x"), "/");
    EXPECT_EQ(NormalizeFolderPath("..", "/"), "/");
    EXPECT_EQ(NormalizeFolderPath("\x82\xa0/./b", "/\xff"), "/\xff/\x82\xa0/b");
    EXPECT_EQ(NormalizeFolderPath("a b//c ", "/"), "/a b/c ");
}

TEST(ListingOrder, CaseBlindThenFixedTieBreak)
{
    std::vector<std::string> names = {"c.jpg", "B.jpg", "a.jpg", "b.jpg", "A.jpg", "\xe9t\xe9", "_x", "10", "9"};
    SortListing(names);
    EXPECT_EQ(names, (std::vector<std::string>{"10", "9", "_x", "A.jpg", "a.jpg", "B.jpg", "b.jpg", "c.jpg", "\xe9t\xe9"}));
    // One fixed order: every pair of distinct names is ordered one way only.
    for (const auto& x : names)
        for (const auto& y : names)
            EXPECT_EQ(ListingLess(x, y) && ListingLess(y, x), false);
}

} // namespace
