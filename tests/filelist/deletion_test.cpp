// Deleting selected names in real folders: exactly those names go, in list order, and
// nothing else on the disk changes.
#include "filelist/deletion.h"

#include "base/selection.h"

#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

using Names = std::vector<std::string>;
using Steps = std::vector<std::pair<int, int>>;

TEST(Deletion, SummaryCountsSelectedRowsAndFindsTheLast)
{
    struct Case {
        std::vector<bool> selected;
        int count, last;
    };
    const std::vector<Case> cases = {
        {{}, 0, -1},
        {{false, false}, 0, -1},
        {{true}, 1, 0},
        {{false, true, false, true, false}, 2, 3},
        {{true, true, true}, 3, 2},
    };
    for (const Case& c : cases) {
        const SelectionSummary s = SummarizeSelection(c.selected);
        EXPECT_EQ(s.Count, c.count);
        EXPECT_EQ(s.Last, c.last);
    }
}

TEST(Deletion, RemovesExactlyTheSelectedNamesInListOrder)
{
    TempFolder dir;
    const Names names = {"c.jpg", "a.jpg", "keep.jpg", "b.jpg", "last.jpg"};
    for (const std::string& n : names)
        dir.Write(n, n);
    Steps steps;
    Names goneAtStep; // which of the selected names were already gone when each step began
    const int removed = DeleteSelected(dir.path(), names, {true, true, false, true, false},
                                       [&](int n, int t) {
                                           steps.emplace_back(n, t);
                                           std::string gone;
                                           for (const char* x : {"c.jpg", "a.jpg", "b.jpg"})
                                               if (!dir.Exists(x))
                                                   gone += x[0];
                                           goneAtStep.push_back(gone);
                                       });
    EXPECT_EQ(removed, 3);
    EXPECT_EQ(steps, (Steps{{1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(goneAtStep, (Names{"", "c", "ca"}));
    EXPECT_EQ(dir.Files(), (Names{"keep.jpg", "last.jpg"}));
}

TEST(Deletion, NothingSelectedTouchesNothing)
{
    TempFolder dir;
    dir.Write("a");
    int calls = 0;
    EXPECT_EQ(DeleteSelected(dir.path(), {"a"}, {false}, [&](int, int) { ++calls; }), 0);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(dir.Files(), Names{"a"});
}

// Whatever a selected row names now, only a file or link of exactly that name may go.
TEST(Deletion, PassesOverWhatIsNoFileAndStillCountsIt)
{
    TempFolder root;
    root.MakeFolder("d");
    root.Write("outside.jpg", "outside");
    root.Write("target.jpg", "target");
    const std::string d = root / "d";
    const std::string sjis = "\x82\xa0\x82\xa2.jpg"; // Shift-JIS bytes, not UTF-8
    root.Write("d/" + sjis, "raw");
    root.Write("d/" + std::string("\x82\xa0.jpg"), "similar");
    root.MakeFolder("d/became a folder");
    root.Write("d/became a folder/inside.jpg", "inside");
    ASSERT_EQ(symlink((root / "target.jpg").c_str(), (d + "/link.jpg").c_str()), 0);
    ASSERT_EQ(symlink((root / "d/became a folder").c_str(), (d + "/folder link").c_str()), 0);

    const Names names = {sjis, "gone.jpg", "became a folder", "link.jpg", "../outside.jpg",
                         "folder link", "", ".", ".."};
    Steps steps;
    const int removed = DeleteSelected(d, names, std::vector<bool>(names.size(), true),
                                       [&](int n, int t) { steps.emplace_back(n, t); });

    EXPECT_EQ(removed, 3); // the raw name and the two links
    ASSERT_EQ(steps.size(), names.size());
    EXPECT_EQ(steps.back(), std::make_pair(9, 9));
    EXPECT_FALSE(root.Exists("d/" + sjis));
    EXPECT_EQ(root.Read("d/\x82\xa0.jpg"), "similar");
    EXPECT_FALSE(root.Exists("d/link.jpg"));
    EXPECT_FALSE(root.Exists("d/folder link"));
    EXPECT_EQ(root.Read("target.jpg"), "target");
    EXPECT_EQ(root.Read("outside.jpg"), "outside");
    EXPECT_EQ(root.Read("d/became a folder/inside.jpg"), "inside");
    EXPECT_TRUE(std::filesystem::is_directory(d));
}

TEST(Deletion, AFolderThatCannotBeOpenedRemovesNothing)
{
    TempFolder root;
    root.Write("a.jpg", "a");
    Steps steps;
    EXPECT_EQ(DeleteSelected(root / "missing", {"a.jpg"}, {true},
                             [&](int n, int t) { steps.emplace_back(n, t); }),
              0);
    EXPECT_EQ(steps, (Steps{{1, 1}}));
    EXPECT_EQ(root.Files(), Names{"a.jpg"});
}

} // namespace
