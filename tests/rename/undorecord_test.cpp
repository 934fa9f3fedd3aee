// The undo record's bytes: every valid record comes back as it was, and anything damaged,
// cut short or foreign reads as no record.
#include "rename/undorecord.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

const UndoRecord kSample{"/photos/2024",
                         {{"IMG_01.JPG", "00.jpg", 2049, 131, 1700000000123456789},
                          {"line\nbreak\r", "\xff\xfe\x82\xa0", 0, UINT64_MAX, 0},
                          {" ", "..a", UINT64_MAX, 1, UINT64_MAX}},
                         2049, 2, 1600000000000000001};

TEST(UndoRecord, ValidRecordsComeBackUnchanged)
{
    const UndoRecord records[] = {
        kSample,
        {"/", {}},
        {"/a\nb", {{"x", "y", 1, 2}}},
        {"/\x80", {{std::string(255, 'n'), "\x01\x7f", 3, 4}}},
    };
    for (const UndoRecord& r : records) {
        ASSERT_TRUE(IsValidUndoRecord(r)) << r.Folder;
        EXPECT_EQ(DecodeUndoRecord(EncodeUndoRecord(r)), r) << r.Folder;
    }
}

TEST(UndoRecord, EveryCutAndEveryFlippedByteReadsAsNone)
{
    const std::string bytes = EncodeUndoRecord(kSample);
    for (std::size_t n = 0; n < bytes.size(); ++n)
        EXPECT_FALSE(DecodeUndoRecord(bytes.substr(0, n))) << "cut at " << n;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::string damaged = bytes;
        damaged[i] = static_cast<char>(damaged[i] ^ 0x20);
        EXPECT_FALSE(DecodeUndoRecord(damaged)) << "byte " << i;
    }
    EXPECT_FALSE(DecodeUndoRecord(bytes + "x"));
}

// Bodies with a correct checksum whose content is still not a record the program wrote.
TEST(UndoRecord, SealedForeignBodiesReadAsNone)
{
    const std::string good = EncodeUndoRecord({"/f", {{"a", "b", 1, 2}}});
    const std::string body = good.substr(0, good.size() - 32);
    ASSERT_TRUE(DecodeUndoRecord(SealUndoRecordBody(body)));
    auto entry = [](const std::string& oldName, const std::string& newName) {
        auto text = [](const std::string& s) { return std::string{static_cast<char>(s.size()), 0, 0, 0} + s; };
        return text(oldName) + text(newName) + std::string(16, '\1');
    };
    const std::string head = "PELKUNDO\1\0\0\0"s + "\2\0\0\0/f"s;
    const std::string one = "\1\0\0\0\0\0\0\0"s;
    const std::string bodies[] = {
        "",
        "PELKUNDX" + body.substr(8),
        "PELKUNDO\4\0\0\0"s + body.substr(12),           // a later version
        "PELKUNDO\0\0\0\0"s + body.substr(12),
        head + one + entry("a", "b/c"),                   // a name that leaves the folder
        head + one + entry("a", ".."),
        head + one + entry("", "b"),
        head + one + entry("a\0b"s, "b"),
        head + "\2\0\0\0\0\0\0\0"s + entry("a", "b"),    // fewer entries than counted
        head + "\xff\xff\xff\xff\xff\xff\xff\xff"s + entry("a", "b"),
        head + one + entry("a", "b") + "x",             // bytes after the last entry
        "PELKUNDO\1\0\0\0"s + "\1\0\0\0f"s + one + entry("a", "b"), // a relative folder
        "PELKUNDO\1\0\0\0"s + "\xff\xff\xff\x7f/"s,
    };
    for (const std::string& b : bodies)
        EXPECT_FALSE(DecodeUndoRecord(SealUndoRecordBody(b))) << testing::PrintToString(b);
    // The first format's bodies are still read: no birth times, no folder identity.
    ASSERT_EQ(DecodeUndoRecord(SealUndoRecordBody(head + one + entry("a", "b"))),
              (UndoRecord{"/f", {{"a", "b", 0x0101010101010101, 0x0101010101010101, 0}}}));
}

} // namespace
