// The list state without a window: moves, sorts and new listings keep the names, the
// selection and the trial rows in step, and it says exactly when something changed.
#include "filelist/liststate.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;
using Flags = std::vector<bool>;

void List(ListState& s, const Names& names)
{
    s.SetFolder("/photos");
    s.ShowListing({"/photos", names});
}

struct MoveCase {
    const char* name;
    Names rows;
    Flags selected;
    bool up;
    Names expectedRows; // empty: refused, nothing changes
    Flags expectedSelected;
};

TEST(ListState, MovesSelectedRowsOrRefusesAtTheEdge)
{
    const Names four{"1", "2", "3", "4"};
    const MoveCase cases[] = {
        {"run up", four, {0, 1, 1, 0}, true, {"2", "3", "1", "4"}, {1, 1, 0, 0}},
        {"gap up", {"1", "2", "3", "4", "5"}, {0, 1, 0, 1, 0}, true, {"2", "1", "4", "3", "5"}, {1, 0, 1, 0, 0}},
        {"run down", four, {1, 1, 0, 0}, false, {"3", "1", "2", "4"}, {0, 1, 1, 0}},
        {"first row up", four, {1, 0, 1, 0}, true, {}, {}},
        {"last row down", four, {0, 1, 0, 1}, false, {}, {}},
        {"single row up", {"1"}, {1}, true, {}, {}},
        {"single row down", {"1"}, {1}, false, {}, {}},
        {"empty list", {}, {}, true, {}, {}},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        ListState s;
        List(s, c.rows);
        s.Select(c.selected);
        s.ShowTrial({"x"});
        QSignalSpy changed(&s, &ListState::currentChanged);
        const bool refused = c.expectedRows.empty() && !c.rows.empty();
        EXPECT_EQ(s.MoveSelected(c.up), !refused);
        const bool moved = !c.expectedRows.empty();
        EXPECT_EQ(s.Names(), moved ? c.expectedRows : c.rows);
        EXPECT_EQ(s.Selected(), moved ? c.expectedSelected : c.selected);
        EXPECT_EQ(changed.count(), moved ? 1 : 0);
        // Moves leave the trial rows for the window to grey, and the listing as read.
        EXPECT_EQ(s.Trial().Names, Names{"x"});
        EXPECT_EQ(s.Listing().Names, c.rows);
    }
}

TEST(ListState, SortedOrderShowsTheListingWithItsKeysAndNothingSelected)
{
    ListState s;
    List(s, {"b.txt", "a.jpg", "c.png"});
    s.Select({true, true, true});
    s.ShowTrial({"n1", "n2", "n3"});
    s.ShowSorted({1, 2, 0}, {"txt", "jpg", "png"});
    EXPECT_EQ(s.Names(), (Names{"a.jpg", "c.png", "b.txt"}));
    EXPECT_EQ(s.Selected(), Flags(3, false));
    EXPECT_TRUE(s.Trial().Names.empty());
    ASSERT_EQ(s.SortAid().size(), 3u);
    EXPECT_EQ(s.SortAid()[0].Key, "jpg");
    EXPECT_EQ(s.SortAid()[0].Index, 1u);
    EXPECT_EQ(s.SortAid()[2].Key, "txt");
    // The listing order again drops the keys.
    s.ShowOrder(s.Listing().Names, {});
    EXPECT_EQ(s.Names(), s.Listing().Names);
    EXPECT_TRUE(s.SortAid().empty());
}

// Any sequence of what the window does keeps one flag per row, keeps the same names in the
// list as in the listing, greys only rows that exist, and signals a selection change exactly
// when the flags changed.
TEST(ListState, RandomOperationsKeepNamesSelectionAndTrialInStep)
{
    std::mt19937 random(25);
    for (int round = 0; round < 200; ++round) {
        const int count = static_cast<int>(random() % 7);
        Names listing;
        for (int i = 0; i < count; ++i)
            listing.push_back("f" + std::to_string(random() % 5) + ".jpg");
        ListState s;
        List(s, listing);
        QSignalSpy selection(&s, &ListState::selectionChanged);
        for (int step = 0; step < 20; ++step) {
            const Flags before = s.Selected();
            int signalsBefore = static_cast<int>(selection.count());
            switch (random() % 6) {
            case 0: {
                Flags f(random() % (count + 2));
                for (std::size_t i = 0; i < f.size(); ++i)
                    f[i] = random() % 2;
                s.Select(f);
                Flags expected = f;
                expected.resize(s.Names().size(), false);
                EXPECT_EQ(s.Selected(), expected);
                EXPECT_EQ(selection.count() - signalsBefore, expected != before ? 1 : 0);
                signalsBefore = static_cast<int>(selection.count());
                break;
            }
            case 1:
                s.MoveSelected(random() % 2);
                break;
            case 2: {
                std::vector<std::size_t> order(s.Listing().Names.size());
                for (std::size_t i = 0; i < order.size(); ++i)
                    order[i] = order.size() - 1 - i;
                s.ShowSorted(order, Names(order.size(), "k"));
                break;
            }
            case 3:
                s.ShowTrial(Names(static_cast<std::size_t>(random() % (count + 1)), "new"));
                break;
            case 4:
                s.TrialNoLongerHolds(QStringLiteral("stale"));
                break;
            case 5:
                s.ShowListing({"/photos", listing});
                EXPECT_EQ(s.Names(), listing);
                EXPECT_TRUE(s.Trial().Names.empty());
                break;
            }
            ASSERT_EQ(s.Selected().size(), s.Names().size());
            Names sortedNames = s.Names(), sortedListing = s.Listing().Names;
            std::sort(sortedNames.begin(), sortedNames.end());
            std::sort(sortedListing.begin(), sortedListing.end());
            EXPECT_EQ(sortedNames, sortedListing);
            EXPECT_TRUE(s.Trial().StaleTip.isEmpty() || !s.Trial().Names.empty());
        }
    }
}

} // namespace
