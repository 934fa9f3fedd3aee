#include "filelist/sortkeys.h"

#include "support/localtime.h"
#include "support/rowname.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <QCollator>
#include <QDir>
#include <QLocale>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

struct ExtensionCase {
    const char* name;
    const char* key;
};

class ExtensionKeyRows : public testing::TestWithParam<ExtensionCase> {};

TEST_P(ExtensionKeyRows, IsTheNameFromItsLastDot)
{
    EXPECT_EQ(ExtensionKey(GetParam().name), GetParam().key) << GetParam().name;
}

const ExtensionCase kExtensionCases[] = {
    {"b.JPG", ".JPG"},      {"a.txt", ".txt"},   {"readme", ""},
    {"a.tar.gz", ".gz"},    {"photo.", "."},     {".bashrc", ".bashrc"},
    {"", ""},               {"x.jpeg", ".jpeg"}, {"\xff\xfe.\x82\xa0", ".\x82\xa0"},
};

INSTANTIATE_TEST_SUITE_P(SortKeysTest, ExtensionKeyRows, testing::ValuesIn(kExtensionCases),
                         RowNames([](const ExtensionCase& c) { return c.name; }));


struct PackCase {
    int year, month, day, hour, minute, second;
    uint32_t bits;
};

std::string PackLabel(const PackCase& c)
{
    return std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day) +
           " " + std::to_string(c.hour) + ":" + std::to_string(c.minute) + ":" +
           std::to_string(c.second);
}

class PackDateTimeRows : public testing::TestWithParam<PackCase> {};

TEST_P(PackDateTimeRows, PacksLikeTheFatStamp)
{
    const PackCase& c = GetParam();
    const int32_t packed =
        PackDateTime(LocalTime(c.year, c.month, c.day, c.hour, c.minute, c.second));
    EXPECT_EQ(static_cast<uint32_t>(packed), c.bits) << PackLabel(c);
}

const PackCase kPackCases[] = {
    {1980, 1, 1, 0, 0, 0, 0x00210000u},
    {1980, 1, 1, 0, 0, 1, 0x00210000u},      // odd seconds are halved down
    {2000, 6, 15, 12, 34, 56, 0x28CF645Cu},
    {2000, 6, 15, 12, 34, 57, 0x28CF645Cu},
    {2000, 6, 15, 12, 34, 59, 0x28CF645Du},
    {2000, 6, 15, 12, 34, 60, 0x28CF645Eu},  // a leap second still fits
    {2043, 12, 31, 23, 59, 59, 0x7F9FBF7Du}, // last positive year
    {2044, 1, 1, 0, 0, 0, 0x80210000u},      // sign bit from here on
    {2107, 12, 31, 23, 59, 58, 0xFF9FBF7Du},
    {1979, 12, 31, 23, 59, 59, 0xFFFFFFFFu},
    {2108, 1, 1, 0, 0, 0, 0xFFFFFFFFu},
    {1970, 1, 1, 0, 0, 0, 0xFFFFFFFFu},
    {2000, 13, 1, 0, 0, 0, 0xFFFFFFFFu},     // not a normalized time
    {2000, 1, 0, 0, 0, 0, 0xFFFFFFFFu},
};

INSTANTIATE_TEST_SUITE_P(SortKeysTest, PackDateTimeRows, testing::ValuesIn(kPackCases),
                         RowNames(PackLabel));

TEST(SortKeysTest, PackDateTimeOfYearsNoIntHolds)
{
    // tm_year counts from 1900, so these years lie beyond what an int year can hold.
    const int tmYears[] = {INT32_MAX, INT32_MAX - 1899, INT32_MAX - 1900, INT32_MIN, -1901};
    for (const int tmYear : tmYears) {
        std::tm local = LocalTime(2000, 6, 15, 12, 34, 56);
        local.tm_year = tmYear;
        EXPECT_EQ(PackDateTime(local), -1) << tmYear;
    }
}

TEST(SortKeysTest, DateKey)
{
    const struct {
        int32_t packed;
        const char* key;
    } cases[] = {
        {0x00210000, "000002162688"}, {0, "000000000000"},
        {-1, "0000000000-1"},         {2147483647, "002147483647"},
        {INT32_MIN, "0-2147483648"},  {-6308995, "0000-6308995"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateKey(c.packed), c.key) << c.packed;
}

struct IndexCase {
    std::size_t index, count;
    const char* text;
};

class IndexTextRows : public testing::TestWithParam<IndexCase> {};

TEST_P(IndexTextRows, IsPaddedToTheWidestIndex)
{
    const IndexCase& c = GetParam();
    EXPECT_EQ(IndexText(c.index, c.count), c.text) << c.index << " of " << c.count;
}

const IndexCase kIndexCases[] = {
    {0, 1, "00000"},           {42, 100, "00042"},       {99999, 100000, "99999"},
    {100000, 100001, "100000"}, {5, 100001, "000005"},    {7, 0, "00007"},
    {123456, 10, "123456"},     {0, 10000000, "0000000"},
};

INSTANTIATE_TEST_SUITE_P(SortKeysTest, IndexTextRows, testing::ValuesIn(kIndexCases),
                         RowNames([](const IndexCase& c) {
                             return std::to_string(c.index) + " of " + std::to_string(c.count);
                         }));

// Creates a file with the given modification time in folder; empty on failure.
std::string DatedFile(const TempFolder& folder, const std::string& name, time_t modified)
{
    const std::string file = folder.Write(name);
    return folder.Touch(name, modified) ? file : std::string();
}

TEST(SortKeysTest, DateKeyOfFile)
{
    TempFolder folder;
    ASSERT_FALSE(folder.path().empty());

    std::tm local = LocalTime(2001, 2, 3, 4, 5, 7);
    local.tm_isdst = -1;
    const std::string dated = DatedFile(folder, "dated.jpg", std::mktime(&local));
    ASSERT_FALSE(dated.empty());
    const uint32_t expected = 21u << 25 | 2u << 21 | 3u << 16 | 4u << 11 | 5u << 5 | 3u;
    EXPECT_EQ(DateKeyOfFile(dated), DateKey(static_cast<int32_t>(expected)));

    std::tm old = LocalTime(1975, 7, 1, 12, 0, 0);
    old.tm_isdst = -1;
    const std::string tooOld = DatedFile(folder, "old.jpg", std::mktime(&old));
    ASSERT_FALSE(tooOld.empty());
    EXPECT_EQ(DateKeyOfFile(tooOld), "0000000000-1");

    EXPECT_EQ(DateKeyOfFile(folder.path() + "/missing.jpg"), "0000000000-1");
}

TEST(SortKeysTest, DateKeyOfFileFarInTheFuture)
{
    // About the last second whose local year still fits tm_year. Many file systems clamp such
    // a time (ext4 to the year 2446, whose key is the same by the ordinary path), so the file
    // goes where the whole time is kept: tmpfs under /dev/shm on most machines.
    const time_t far = static_cast<time_t>(67768036191600000LL);
    std::optional<TempFolder> folder;
    std::string file;
    for (const std::string& parent : {QDir::tempPath().toStdString(), std::string("/dev/shm")}) {
        struct stat st {};
        if (::access(parent.c_str(), W_OK) != 0)
            continue;
        folder.emplace(parent);
        file = DatedFile(*folder, "far.jpg", far);
        if (!file.empty() && stat(file.c_str(), &st) == 0 && st.st_mtime == far)
            break;
        file.clear();
    }
    if (file.empty())
        GTEST_SKIP() << "no file system here keeps such a modification time";
    EXPECT_EQ(DateKeyOfFile(file), "0000000000-1");
}

std::vector<std::size_t> OrderOfExtensions(const std::vector<std::string>& names)
{
    std::vector<std::string> keys;
    for (const std::string& name : names)
        keys.push_back(ExtensionKey(name));
    return StableOrderByKeys(keys);
}

struct OrderCase {
    const char* label;
    std::vector<std::string> keys;
    std::vector<std::size_t> order;
};

class OrderByKeysRows : public testing::TestWithParam<OrderCase> {};

TEST_P(OrderByKeysRows, OrdersAsTheCollatorDoes)
{
    EXPECT_EQ(StableOrderByKeys(GetParam().keys), GetParam().order) << GetParam().label;
}

using Order = std::vector<std::size_t>;

const OrderCase kOrderCases[] = {
    {"empty", {}, {}},
    {"one", {".x"}, {0}},
    {"lower case first", {".JPG", ".jpg"}, {1, 0}},
    {"letters before case", {".b", ".A", ".a", ".B"}, {2, 1, 0, 3}},
    {"prefix first", {".jpg", ".jpeg", ".JPEG", ".gif", ".jp"}, {3, 4, 1, 2, 0}},
    {"empty key first", {".a", "", ".A", ""}, {1, 3, 0, 2}},
    {"equal keys keep input order",
     {".jpg", ".txt", ".jpg", ".jpg", ".txt", ""},
     {5, 0, 2, 3, 1, 4}},
    {"unreadable date first",
     {"000002162688", "0000000000-1", "000000000000", "002147483647", "0000000000-1"},
     {1, 4, 2, 0, 3}},
    {"accents after plain letters", {".\xc3\xa9", ".f", ".e"}, {2, 0, 1}},
    // Both invalid sequences decode to the same replacement character: bytes decide.
    {"invalid UTF-8 by bytes", {".\xff", ".\xfe", ".\xff"}, {1, 0, 2}},
};

INSTANTIATE_TEST_SUITE_P(SortKeysTest, OrderByKeysRows, testing::ValuesIn(kOrderCases),
                         RowNames([](const OrderCase& c) { return c.label; }));

TEST(SortKeysTest, ExtensionSortOfMixedNames)
{
    EXPECT_EQ(OrderOfExtensions({"b.JPG", "a.txt", "c.jpg", "readme"}),
              (std::vector<std::size_t>{3, 2, 0, 1}));
}

TEST(SortKeysTest, DateKeysSortAsTimes)
{
    // Twelve-digit keys must come out in time order, which byte order alone would also give,
    // but here through the collator.
    std::mt19937 random(7u);
    std::vector<std::string> keys;
    std::vector<int32_t> packed;
    for (int i = 0; i < 3000; ++i) {
        const std::tm t = LocalTime(1980 + static_cast<int>(random() % 64), 1 + random() % 12,
                                    1 + random() % 28, random() % 24, random() % 60,
                                    random() % 60);
        packed.push_back(i % 50 == 0 ? -1 : PackDateTime(t));
        keys.push_back(DateKey(packed.back()));
    }
    const std::vector<std::size_t> order = StableOrderByKeys(keys);
    std::vector<std::size_t> expected(keys.size());
    std::iota(expected.begin(), expected.end(), std::size_t{0});
    std::stable_sort(expected.begin(), expected.end(),
                     [&](std::size_t a, std::size_t b) { return packed[a] < packed[b]; });
    EXPECT_EQ(order, expected);
}

TEST(SortKeysTest, AgreesWithPlainCollatorSort)
{
    QCollator collator{QLocale(QLocale::English)};
    collator.setCaseSensitivity(Qt::CaseSensitive);
    const auto less = [&](const std::string& a, const std::string& b) {
        const int c = collator.compare(QString::fromUtf8(a.data(), qsizetype(a.size())),
                                       QString::fromUtf8(b.data(), qsizetype(b.size())));
        return c != 0 ? c < 0 : a < b;
    };
    const std::vector<std::string> pieces{".", "a", "A", "b", "B", "1", "2", "-",
                                          "\xc3\xa9", "\xc3\x89", "\xff", "_", " "};
    std::mt19937 random(99u);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> keys(random() % 40);
        for (std::string& key : keys)
            for (std::size_t k = random() % 4; k > 0; --k)
                key += pieces[random() % pieces.size()];
        std::vector<std::size_t> expected(keys.size());
        std::iota(expected.begin(), expected.end(), std::size_t{0});
        std::stable_sort(expected.begin(), expected.end(),
                         [&](std::size_t a, std::size_t b) { return less(keys[a], keys[b]); });
        ASSERT_EQ(StableOrderByKeys(keys), expected) << "round " << round;
    }
}

} // namespace
