#include "filelist/moves.h"
#include "support/rowname.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

enum class Direction { Up, Down };

struct Rows {
    std::vector<std::string> names;
    std::vector<bool> selected;
};

// "1 2 3 4" with "2 3" selected.
Rows Make(const std::string& names, const std::string& selectedNames)
{
    Rows rows;
    std::size_t start = 0;
    while (start < names.size()) {
        std::size_t space = names.find(' ', start);
        if (space == std::string::npos)
            space = names.size();
        rows.names.push_back(names.substr(start, space - start));
        start = space + 1;
    }
    const std::string padded = " " + selectedNames + " ";
    for (const std::string& name : rows.names)
        rows.selected.push_back(padded.find(" " + name + " ") != std::string::npos);
    return rows;
}

bool Move(Direction direction, Rows& rows)
{
    return direction == Direction::Up ? MoveSelectedUp(rows.names, rows.selected)
                                      : MoveSelectedDown(rows.names, rows.selected);
}

struct MoveCase {
    const char* label;
    const char* names;
    const char* selected;
    Direction direction;
    bool moved;
    const char* expectedNames;
    const char* expectedSelected;
};

const MoveCase kMoveCases[] = {
    {"run up", "1 2 3 4", "2 3", Direction::Up, true, "2 3 1 4", "2 3"},
    {"gaps stay up", "1 2 3 4 5", "2 4", Direction::Up, true, "2 1 4 3 5", "2 4"},
    {"run down", "1 2 3 4", "1 2", Direction::Down, true, "3 1 2 4", "1 2"},
    {"gaps stay down", "1 2 3 4 5", "2 4", Direction::Down, true, "1 3 2 5 4", "2 4"},
    {"single row up", "1", "1", Direction::Up, false, "1", "1"},
    {"single row down", "1", "1", Direction::Down, false, "1", "1"},
    {"first selected blocks all", "1 2 3 4", "1 3", Direction::Up, false, "1 2 3 4", "1 3"},
    {"last selected blocks all", "1 2 3 4", "2 4", Direction::Down, false, "1 2 3 4", "2 4"},
    {"nothing selected up", "1 2 3", "", Direction::Up, true, "1 2 3", ""},
    {"nothing selected down", "1 2 3", "", Direction::Down, true, "1 2 3", ""},
    {"all but first up", "1 2 3 4 5", "2 3 4 5", Direction::Up, true, "2 3 4 5 1", "2 3 4 5"},
    {"all but last down", "1 2 3 4 5", "1 2 3 4", Direction::Down, true, "5 1 2 3 4",
     "1 2 3 4"},
    {"last row up", "1 2 3", "3", Direction::Up, true, "1 3 2", "3"},
    {"first row down", "1 2 3", "1", Direction::Down, true, "2 1 3", "1"},
    {"empty up", "", "", Direction::Up, true, "", ""},
    {"empty down", "", "", Direction::Down, true, "", ""},
};

class MoveRows : public testing::TestWithParam<MoveCase> {};

TEST_P(MoveRows, Examples)
{
    const MoveCase& c = GetParam();
    Rows rows = Make(c.names, c.selected);
    const Rows expected = Make(c.expectedNames, c.expectedSelected);
    EXPECT_EQ(Move(c.direction, rows), c.moved);
    EXPECT_EQ(rows.names, expected.names);
    EXPECT_EQ(rows.selected, expected.selected);
}

INSTANTIATE_TEST_SUITE_P(MovesTest, MoveRows, testing::ValuesIn(kMoveCases),
                         RowNames([](const MoveCase& c) { return c.label; }));

TEST(MovesTest, PressingAgainMovesTheSameRowsOn)
{
    Rows rows = Make("1 2 3 4 5", "3 4");
    ASSERT_TRUE(MoveSelectedUp(rows.names, rows.selected));
    ASSERT_TRUE(MoveSelectedUp(rows.names, rows.selected));
    EXPECT_EQ(rows.names, Make("3 4 1 2 5", "").names);
    EXPECT_EQ(rows.selected, (std::vector<bool>{true, true, false, false, false}));
    EXPECT_FALSE(MoveSelectedUp(rows.names, rows.selected));
    EXPECT_EQ(rows.names, Make("3 4 1 2 5", "").names);
}

TEST(MovesTest, MismatchedSelectionIsRejected)
{
    std::vector<std::string> names{"a", "b"};
    std::vector<bool> selected{false};
    EXPECT_THROW(MoveSelectedUp(names, selected), EListIndexError);
    EXPECT_THROW(MoveSelectedDown(names, selected), EListIndexError);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b"}));
}

// The list-box way of moving: every selected row, in walking order, is deleted and inserted
// one place further on, unselected; the original flags are remembered one per row plus one
// spare, and set back shifted by one afterwards.
struct ListRow {
    std::size_t id;
    bool selected;
};

bool LiteralMove(Direction direction, std::vector<ListRow>& list)
{
    const std::size_t n = list.size();
    if (n == 0)
        return true;
    std::vector<bool> memory(n + 1, false);
    if (direction == Direction::Up) {
        if (list[0].selected)
            return false;
        for (std::size_t i = 0; i < n; ++i) {
            memory[i] = list[i].selected;
            if (list[i].selected) {
                const std::size_t id = list[i].id;
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
                list.insert(list.begin() + static_cast<std::ptrdiff_t>(i - 1), ListRow{id, false});
            }
        }
        for (std::size_t i = 0; i < n; ++i)
            list[i].selected = memory[i + 1];
    } else {
        if (list[n - 1].selected)
            return false;
        for (std::size_t i = n; i-- > 0;) {
            memory[i] = list[i].selected;
            if (list[i].selected) {
                const std::size_t id = list[i].id;
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
                list.insert(list.begin() + static_cast<std::ptrdiff_t>(i + 1), ListRow{id, false});
            }
        }
        for (std::size_t i = 1; i < n; ++i)
            list[i].selected = memory[i - 1];
    }
    return true;
}

TEST(MovesTest, AgreesWithListBoxWalkOnRandomLists)
{
    std::mt19937 random(20240611u);
    for (int round = 0; round < 20000; ++round) {
        const std::size_t n = random() % 31;
        const unsigned density = random() % 5; // from none selected to nearly all
        std::vector<ListRow> list;
        std::vector<std::size_t> ids;
        std::vector<std::string> names;
        std::vector<bool> selected;
        for (std::size_t i = 0; i < n; ++i) {
            const bool isSelected = random() % 4 < density;
            list.push_back({i, isSelected});
            ids.push_back(i);
            names.push_back("f" + std::to_string(i));
            selected.push_back(isSelected);
        }
        const Direction direction = random() % 2 ? Direction::Up : Direction::Down;
        std::vector<bool> selectedOfIds = selected;

        const bool expectedResult = LiteralMove(direction, list);
        const bool result = direction == Direction::Up ? MoveSelectedUp(names, selected)
                                                       : MoveSelectedDown(names, selected);
        const bool resultOfIds = direction == Direction::Up
                                     ? MoveSelectedUp(ids, selectedOfIds)
                                     : MoveSelectedDown(ids, selectedOfIds);

        ASSERT_EQ(result, expectedResult) << "round " << round;
        ASSERT_EQ(resultOfIds, expectedResult) << "round " << round;
        for (std::size_t i = 0; i < n; ++i) {
            ASSERT_EQ(names[i], "f" + std::to_string(list[i].id)) << "round " << round;
            ASSERT_EQ(ids[i], list[i].id) << "round " << round;
            ASSERT_EQ(selected[i], list[i].selected) << "round " << round << " row " << i;
            ASSERT_EQ(selectedOfIds[i], list[i].selected) << "round " << round;
        }
    }
}

TEST(MovesTest, LargeListMovesInOnePass)
{
    // Quadratic work here would take many seconds.
    const std::size_t n = 200000;
    std::vector<std::size_t> rows(n);
    std::iota(rows.begin(), rows.end(), std::size_t{0});
    std::vector<bool> selected(n, true);
    selected[0] = false;
    ASSERT_TRUE(MoveSelectedUp(rows, selected));
    EXPECT_EQ(rows.front(), 1u);
    EXPECT_EQ(rows[n - 2], n - 1);
    EXPECT_EQ(rows.back(), 0u);
    EXPECT_TRUE(selected.front());
    EXPECT_FALSE(selected.back());
    // Now the last row is the only unselected one: down puts it back in front.
    ASSERT_TRUE(MoveSelectedDown(rows, selected));
    for (std::size_t i = 0; i < n; ++i)
        ASSERT_EQ(rows[i], i);
    EXPECT_FALSE(selected.front());
    EXPECT_TRUE(selected.back());
}

} // namespace
