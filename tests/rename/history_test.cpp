// What the menu and the window take next, and the history on disk: the newest 100 kept, a
// damaged one left out without hiding another, a lost summary made again, (older versions' record
// taken in: the undo window tests).
#include "rename/history.h"
#include "rename/historylist.h"
#include "rename/undo.h"
#include "platform/statefile.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using enum TakenBack;

HistoryItem Item(TakenBack state, bool redoable)
{
    return {{}, {}, 0, 0, state, redoable, {}};
}

TEST(HistoryList, WhatUndoRedoAndTheWindowTakeNext)
{
    struct Case {
        const char* label;
        std::vector<HistoryItem> items; // newest first
        std::optional<std::size_t> undo, redo;
        std::size_t row;
        std::vector<std::size_t> downTo;
    } cases[] = {
        {"nothing kept", {}, std::nullopt, std::nullopt, 0, {}},
        {"none taken back", {Item(No, false), Item(No, false)}, 0, std::nullopt, 1, {0, 1}},
        {"the newest taken back", {Item(Wholly, true), Item(No, false)}, 1, 0, 1, {1}},
        {"two taken back: the older was last", {Item(Wholly, true), Item(Wholly, true), Item(No, false)}, 2, 1, 2, {2}},
        {"partly taken back is next both ways", {Item(Wholly, true), Item(Partly, true), Item(No, false)}, 1, 1, 2, {1, 2}},
        {"an older redo past one not taken back is none", {Item(No, false), Item(Wholly, true)}, 0, std::nullopt, 1, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(NextToUndo(c.items), c.undo);
        EXPECT_EQ(NextToRedo(c.items), c.redo);
        EXPECT_EQ(UndoDownTo(c.items, c.row), c.downTo);
    }
}

UndoRecord Record(int i)
{
    return {"/f" + std::to_string(i), {{"a", "b", 1, static_cast<uint64_t>(i)}}, 0, 0, 0, false,
            static_cast<uint64_t>(i + 1), 1000 + i};
}

TEST(HistoryOnDisk, KeepsTheNewestHundredAndLosesNoneToDamage)
{
    ASSERT_TRUE(RemoveUndoRecord());
    for (int i = 0; i < 102; ++i) {
        std::optional<HistoryItem> item = AddToHistory(Record(i), 1'000'000 + i);
        ASSERT_TRUE(item);
        FinishHistoryItem(*item, 1);
    }
    std::vector<HistoryItem> items = ReadHistory();
    ASSERT_EQ(items.size(), kHistorySize);
    EXPECT_EQ(items.front().Folder, "/f101");
    EXPECT_EQ(items.back().Folder, "/f2");

    // A damaged record is left out; a summary lost in a crash is made again from its record.
    std::string bytes = ReadFileBytes(HistoryRecordPath(items[3]));
    bytes.back() ^= 1;
    platform::WriteFileDurably(HistoryRecordPath(items[3]), bytes);
    fs::remove(fs::path(HistoryRecordPath(items[5])).replace_extension(".summary"));
    items = ReadHistory();
    ASSERT_EQ(items.size(), kHistorySize - 1);
    EXPECT_EQ(items[2].Folder, "/f99");
    EXPECT_EQ(items[3].Folder, "/f97");
    EXPECT_EQ(LoadHistoryRecord(items[4]), Record(96));

    ASSERT_TRUE(RemoveUndoRecord());
}

} // namespace
