// Capture times from real EXIF layouts, the reading of a file's start, and the capture order.
#include "filelist/capturesort.h"
#include "metadata/capturetime.h"
#include "filelist/sortkeys.h"

#include "support/exifjpeg.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::optional<std::string> TextOf(const std::optional<CaptureTime>& t)
{
    return t ? std::optional(CaptureTimeText(*t)) : std::nullopt;
}

TEST(ExifDateTime, AcceptsOnlyRealDatesInTheExactForm)
{
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"2021:03:04 05:06:07", true},
        {"2024:02:29 00:00:00", true},  // leap year
        {"2000:02:29 23:59:59", true},  // divisible by 400
        {"0001:01:01 00:00:00", true},
        {"9999:12:31 23:59:59", true},
        {"2100:02:29 12:00:00", false}, // divisible by 100 only
        {"2023:02:29 12:00:00", false},
        {"2021:04:31 12:00:00", false},
        {"2021:13:01 12:00:00", false},
        {"2021:00:10 12:00:00", false},
        {"2021:01:00 12:00:00", false},
        {"2021:01:01 24:00:00", false},
        {"2021:01:01 12:60:00", false},
        {"2021:01:01 12:00:60", false},
        {"0000:00:00 00:00:00", false}, // what cameras write for "unknown"
        {"    :  :     :  :  ", false},
        {"2021-03-04 05:06:07", false},
        {"2021:03:04T05:06:07", false},
        {"2021:03:04 05:06:07Z", false},
        {"2021:03:04 05:06", false},
        {"2021:+3:04 05:06:07", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExifDateTimeSeconds(c.text).has_value(), c.valid) << c.text;
    EXPECT_EQ(ExifDateTimeSeconds("1970:01:01 00:00:01"), 1);
    EXPECT_EQ(ExifDateTimeSeconds("1969:12:31 23:59:59"), -1);
    EXPECT_EQ(ExifDateTimeSeconds("2021:03:05 00:00:00").value() -
                  ExifDateTimeSeconds("2021:03:04 23:59:59").value(), 1);
}

TEST(ExifDateTime, TextGivesTheSameTimeBack)
{
    std::mt19937_64 random(20);
    const int64_t first = ExifDateTimeSeconds("0001:01:01 00:00:00").value();
    const int64_t last = ExifDateTimeSeconds("9999:12:31 23:59:59").value();
    std::uniform_int_distribution<int64_t> seconds(first, last);
    for (int i = 0; i < 2000; ++i) {
        const CaptureTime t{seconds(random), static_cast<uint32_t>(random() % 1000000000)};
        const std::string text = CaptureTimeText(t);
        ASSERT_EQ(text.size(), 29u) << text;
        EXPECT_EQ(ExifDateTimeSeconds(text.substr(0, 19)), t.Seconds) << text;
        EXPECT_EQ(std::stoul(text.substr(20)), t.Nanoseconds) << text;
    }
}

ExifTags Original(const std::string& time)
{
    ExifTags t;
    t.DateTimeOriginal = time;
    return t;
}

TEST(CaptureTimeFromBytes, FindsTheTimeInRealLayouts)
{
    ExifTags bigEndian = Original("2019:08:07 06:05:04");
    bigEndian.BigEndian = true;
    ExifTags withThumbnail = Original("2019:08:07 06:05:04");
    withThumbnail.Thumbnail = WriteTestJpeg(160, 120);
    ExifTags fallbackDigitized;
    fallbackDigitized.DateTimeOriginal = "2023:02:29 10:00:00"; // no such day
    fallbackDigitized.DateTimeDigitized = "2020:01:02 03:04:05";
    fallbackDigitized.SubSecTimeOriginal = "999";
    fallbackDigitized.SubSecTimeDigitized = "5";
    fallbackDigitized.DateTime = "2000:01:01 00:00:00";
    ExifTags fallbackImage;
    fallbackImage.DateTimeOriginal = "    :  :     :  :  ";
    fallbackImage.DateTime = "2001:02:03 04:05:06";
    fallbackImage.SubSecTime = "0042";
    ExifTags subSeconds = Original("2019:08:07 06:05:04");
    subSeconds.SubSecTimeOriginal = "12 ";
    subSeconds.SubSecTimeDigitized = "99";
    ExifTags badSubSeconds = Original("2019:08:07 06:05:04");
    badSubSeconds.SubSecTimeOriginal = "1a";
    ExifTags noDates;
    ExifTags onlyThumbnailDate;
    onlyThumbnailDate.ThumbnailDateTime = "2005:05:05 05:05:05";
    onlyThumbnailDate.Thumbnail = WriteTestJpeg(16, 16);
    ExifTags allInvalid;
    allInvalid.DateTimeOriginal = "0000:00:00 00:00:00";
    allInvalid.DateTimeDigitized = "2021:04:31 00:00:00";
    allInvalid.DateTime = "garbage";

    const std::string plainJpeg = WriteTestJpeg(8, 8);
    const struct {
        const char* name;
        std::string bytes;
        std::optional<std::string> expected;
    } cases[] = {
        {"little-endian", JpegWithExif(Original("2019:08:07 06:05:04")),
         "2019:08:07 06:05:04.000000000"},
        {"big-endian", JpegWithExif(bigEndian), "2019:08:07 06:05:04.000000000"},
        {"after JFIF", JpegWithExif(Original("2019:08:07 06:05:04"), {.JfifFirst = true}),
         "2019:08:07 06:05:04.000000000"},
        {"after JFIF and a comment",
         JpegWithExif(Original("2019:08:07 06:05:04"), {.JfifFirst = true, .Comment = "made by an editor"}),
         "2019:08:07 06:05:04.000000000"},
        {"after 100 KiB of other segments",
         JpegWithExif(Original("2019:08:07 06:05:04"), {.JfifFirst = true, .Padding = 100000}),
         "2019:08:07 06:05:04.000000000"},
        {"thumbnail inside", JpegWithExif(withThumbnail), "2019:08:07 06:05:04.000000000"},
        {"bare EXIF block", ExifBlock(Original("2019:08:07 06:05:04")),
         "2019:08:07 06:05:04.000000000"},
        {"digitized when original is no date", JpegWithExif(fallbackDigitized),
         "2020:01:02 03:04:05.500000000"},
        {"image time when the others are blank", JpegWithExif(fallbackImage),
         "2001:02:03 04:05:06.004200000"},
        {"sub-seconds of the time used", JpegWithExif(subSeconds), "2019:08:07 06:05:04.120000000"},
        {"sub-seconds that are no number", JpegWithExif(badSubSeconds),
         "2019:08:07 06:05:04.000000000"},
        {"EXIF without dates", JpegWithExif(noDates), std::nullopt},
        {"only the thumbnail dated", JpegWithExif(onlyThumbnailDate), std::nullopt},
        {"no valid date", JpegWithExif(allInvalid), std::nullopt},
        {"JPEG without EXIF", plainJpeg, std::nullopt},
        {"text", "2019:08:07 06:05:04", std::nullopt},
        {"empty", "", std::nullopt},
        {"only a start of image", "\xff\xd8", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextOf(CaptureTimeFromBytes(c.bytes)), c.expected) << c.name;
}

// Where the APP1 segment holding the EXIF block ends in a file.
std::size_t ExifSegmentEnd(const std::string& file)
{
    const std::size_t header = file.find(std::string("Exif\0\0", 6));
    const std::size_t length = static_cast<unsigned char>(file[header - 2]) << 8 |
                               static_cast<unsigned char>(file[header - 1]);
    return header - 2 + length;
}

TEST(CaptureTimeFromBytes, ACutBlockGivesNoTimeAndMoreBytesAreWantedUntilItsEnd)
{
    ExifTags tags = Original("2019:08:07 06:05:04");
    tags.Thumbnail = WriteTestJpeg(64, 48);
    for (const bool jfif : {false, true}) {
        const std::string file = JpegWithExif(tags, {.JfifFirst = jfif, .Padding = jfif ? 5000u : 0u});
        const std::size_t end = ExifSegmentEnd(file);
        ASSERT_LT(end, file.size());
        for (std::size_t cut = 0; cut <= end + 50; cut += cut < 40 || cut + 40 > end ? 1 : 97) {
            SCOPED_TRACE(testing::Message() << "jfif " << jfif << ", cut at " << cut << " of " << end);
            const std::string start = file.substr(0, cut);
            EXPECT_EQ(CaptureTimeFromBytes(start).has_value(), cut >= end);
            if (cut < end) {
                EXPECT_GT(ExifBytesWanted(start), cut);
            } else {
                EXPECT_EQ(ExifBytesWanted(start), cut);
            }
        }
    }
}

TEST(ExifBytesWanted, StopsAtBytesThatHoldNoExif)
{
    const std::string plain = WriteTestJpeg(8, 8);
    for (const std::string& bytes : {std::string("hello, world"), plain, std::string(5000, '\0'),
                                     std::string("\xff\xd8\xff\xda\x00\x0c", 6) + std::string(100, 'x')})
        EXPECT_EQ(ExifBytesWanted(bytes), bytes.size());
    // A segment too short to move on ends the walk rather than looping on it.
    EXPECT_EQ(ExifBytesWanted(std::string("\xff\xd8\xff\xe0\x00\x00\xff\xe1", 8)), 8u);
}

TEST(CaptureTimeOfFile, ReadsRegularFilesOnlyAndNoFurtherThanTheLimit)
{
    TempFolder t;
    ExifTags tags = Original("2019:08:07 06:05:04");
    tags.Thumbnail = WriteTestJpeg(200, 150);
    t.Write("photo.jpg", JpegWithExif(tags, {.JfifFirst = true, .Width = 64, .Height = 64}));
    // Beyond the first read, but within the limit.
    t.Write("late.jpg", JpegWithExif(tags, {.JfifFirst = true, .Padding = 60000}));
    t.Write("too-late.jpg", JpegWithExif(tags, {.JfifFirst = true, .Padding = kCaptureBytesLimit}));
    t.Write("plain.jpg", WriteTestJpeg(8, 8));
    t.Write("empty.jpg");
    t.Write("notes.txt", "2019:08:07 06:05:04");
    ASSERT_EQ(symlink("photo.jpg", (t / "link.jpg").c_str()), 0);
    ASSERT_EQ(mkfifo((t / "pipe.jpg").c_str(), 0644), 0); // nobody ever writes to it
    t.MakeFolder("folder.jpg");
    ASSERT_GT(ExifSegmentEnd(t.Read("too-late.jpg")), kCaptureBytesLimit);
    ASSERT_GT(ExifSegmentEnd(t.Read("late.jpg")), 4096u);

    const struct {
        std::string path;
        bool dated;
    } cases[] = {
        {t / "photo.jpg", true},     {t / "late.jpg", true},    {t / "too-late.jpg", false},
        {t / "plain.jpg", false},    {t / "empty.jpg", false},  {t / "notes.txt", false},
        {t / "link.jpg", true},      {t / "pipe.jpg", false},   {t / "folder.jpg", false},
        {t / "missing.jpg", false},  {"/dev/zero", false},      {"/dev/tty", false},
    };
    for (const auto& c : cases) {
        const std::optional<CaptureTime> time = CaptureTimeOfFile(c.path);
        EXPECT_EQ(time.has_value(), c.dated) << c.path;
        if (time) {
            EXPECT_EQ(CaptureTimeText(*time), "2019:08:07 06:05:04.000000000") << c.path;
        }
    }
}

TEST(CaptureOrder, DatedFirstOldestFirstThenUndatedByDateKeyAndStable)
{
    auto at = [](int64_t s, uint32_t ns = 0) { return std::optional(CaptureTime{s, ns}); };
    const struct {
        const char* name;
        std::vector<std::optional<CaptureTime>> times;
        std::vector<std::string> dateKeys; // used for the positions without a time
        std::vector<std::size_t> expected;
    } cases[] = {
        {"empty", {}, {}, {}},
        {"by time", {at(30), at(10), at(20)}, {"3", "2", "1"}, {1, 2, 0}},
        {"sub-seconds break ties", {at(10, 500), at(10, 20), at(10, 0)}, {"", "", ""}, {2, 1, 0}},
        {"equal times keep input order", {at(5), at(7), at(5), at(7)}, {"", "", "", ""}, {0, 2, 1, 3}},
        {"undated after all, by date key",
         {std::nullopt, at(99), std::nullopt, at(-5), std::nullopt},
         {"000000000300", "000000000001", "000000000100", "000000000002", "0000000000-1"},
         {3, 1, 4, 2, 0}},
        {"equal date keys keep input order",
         {std::nullopt, std::nullopt, at(1), std::nullopt},
         {"000000000100", "000000000100", "", "000000000050"},
         {2, 3, 0, 1}},
    };
    for (const auto& c : cases) {
        std::vector<std::size_t> asked;
        const std::vector<std::size_t> order = CaptureOrder(c.times, [&](std::size_t i) {
            asked.push_back(i);
            return c.dateKeys[i];
        });
        EXPECT_EQ(order, c.expected) << c.name;
        std::vector<std::size_t> undated;
        for (std::size_t i = 0; i < c.times.size(); ++i)
            if (!c.times[i])
                undated.push_back(i);
        EXPECT_EQ(asked, undated) << c.name << ": date keys asked of dated files";
    }
}

} // namespace

// A folder large enough to be read on several threads orders exactly as the times say:
// photos by capture time, then the rest by modification time.
// A second sort with the same cache reads only what changed: rewritten photos must move to
// their new times, the others keep theirs.
TEST(CaptureSortOfFolder, ALargeFolderOrdersAsItsTimesSayAndTheCacheFollowsRewrites)
{
    TempFolder temp;
    constexpr int kFiles = 1500; // past the size where a second thread joins in
    std::vector<int> second(kFiles);
    for (int i = 0; i < kFiles; ++i)
        second[static_cast<std::size_t>(i)] = i;
    std::mt19937 random(20261208);
    std::shuffle(second.begin(), second.end(), random);
    std::vector<std::string> names;
    const auto writePhoto = [&](const std::string& name, int s) {
        char time[32];
        std::snprintf(time, sizeof time, "2019:08:07 %02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
        temp.Write(name, JpegWithExif(Original(time)));
    };
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "f%05d.jpg", i);
        names.emplace_back(name);
        const int s = second[static_cast<std::size_t>(i)];
        if (i % 7 == 0) {
            temp.Write(name, "no picture");
            ASSERT_TRUE(temp.Touch(name, 1500000000 + 60 * s)); // the date key counts minutes
        } else {
            writePhoto(name, s);
        }
    }
    const auto expected = [&] {
        std::vector<std::pair<int, std::size_t>> photos, others;
        for (std::size_t i = 0; i < names.size(); ++i)
            (i % 7 == 0 ? others : photos).emplace_back(second[i], i);
        std::sort(photos.begin(), photos.end());
        std::sort(others.begin(), others.end());
        std::vector<std::size_t> order;
        for (const auto& p : photos)
            order.push_back(p.second);
        for (const auto& o : others)
            order.push_back(o.second);
        return order;
    };
    CaptureTimeCache cache;
    EXPECT_EQ(CaptureSortOfFolder(temp.path() + "/", names, cache).Order, expected());
    EXPECT_EQ(cache.size(), names.size());
    // Reverse the times of every third photo; same length, so only the bytes and times differ.
    for (std::size_t i = 3; i < names.size(); i += 3) {
        if (i % 7 == 0)
            continue;
        second[i] = kFiles - 1 - second[i] + kFiles;
        writePhoto(names[i], second[i]);
    }
    EXPECT_EQ(CaptureSortOfFolder(temp.path() + "/", names, cache).Order, expected());
}
