// Names made from the capture times of real photos: EXIF written with Exiv2, read back from
// the files as a trial run reads them, the pattern expanded and the name composed around it.
#include "filelist/capturereading.h"
#include "filelist/shiftedkeys.h"
#include "rename/capturenames.h"
#include "rename/capturerun.h"
#include "rename/clockoffset.h"
#include "rename/naming.h"
#include "rename/renameinputs.h"
#include "rename/renamerun.h"

#include "support/exifjpeg.h"
#include "support/localtime.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <string>
#include <vector>

namespace {

ExifTags Original(const std::string& time)
{
    ExifTags tags;
    tags.DateTimeOriginal = time;
    return tags;
}

// A row is not selected when its label starts with "-"; no expected name: the file keeps its
// name for want of a capture time.
struct Row {
    const char* label;
    std::string file, pattern;
    RenameOptions options;
    int32_t number;
    std::optional<std::string> expected;
    CaptureMark missing = CaptureMark::NoTime; // the mark of a row without an expected name
};

ExifTags Camera(const std::string& time, const std::string& make, const std::string& model, const std::string& lens)
{
    ExifTags tags = Original(time);
    tags.Make = make;
    tags.Model = model;
    tags.LensModel = lens;
    return tags;
}

RenameOptions Sequential(int digits)
{
    RenameOptions o;
    o.Sequential = true;
    o.DigitCount = digits;
    return o;
}

TEST(CaptureNames, PatternLettersTakeTheCaptureTimeAndTheNameIsComposedAroundThem)
{
    const std::string when = "2021:03:04 05:06:07";
    ExifTags digitized;
    digitized.DateTimeDigitized = "2020:12:31 23:59:58";
    ExifTags imageOnly;
    imageOnly.DateTime = "2001:02:03 04:05:06";
    ExifTags invalid;
    invalid.DateTimeOriginal = "2023:02:29 10:00:00";
    invalid.DateTime = "0000:00:00 00:00:00";
    RenameOptions padLowerJpg;
    padLowerJpg.PadDigits = true;
    padLowerJpg.DigitCount = 4;
    padLowerJpg.ExtLowerCase = true;
    padLowerJpg.JpegToJpg = true;
    RenameOptions plain;
    RenameOptions textOff; // the text part is given whatever ChangeText says

    const std::vector<Row> rows = {
        {"every letter", JpegWithExif(Original(when)), "%Y%m%d_%H%M%S_", Sequential(3), 7,
         "20210304_050607_007.JPG"},
        {"percent escapes", JpegWithExif(Original(when)), "%%Y=%Y 100%%", plain, 1, "%Y=2021 100%5.JPG"},
        {"unknown letter and a trailing percent stay", JpegWithExif(Original(when)), "a%qb%y%", plain, 1,
         "a%qb%y%5.JPG"},
        {"text around the letters, UTF-8", JpegWithExif(Original(when)), "旅行 %m月%d日 ", Sequential(2), 12,
         "旅行 03月04日 12.JPG"},
        {"digit run padded, extension lowered", JpegWithExif(Original(when)), "%H%M%S-", padLowerJpg, 1,
         "050607-0005.jpg"},
        {"only DateTimeDigitized", JpegWithExif(digitized), "%Y%m%d%H%M%S", plain, 1, "202012312359585.JPG"},
        {"only the image DateTime", JpegWithExif(imageOnly), "%Y-%m-%d ", textOff, 1, "2001-02-03 5.JPG"},
        {"before 1970", JpegWithExif(Original("1969:12:31 23:59:59")), "%Y%m%d%H%M%S", plain, 1,
         "196912312359595.JPG"},
        {"year 1", JpegWithExif(Original("0001:01:01 00:00:00")), "%Y", plain, 1, "00015.JPG"},
        {"no valid date", JpegWithExif(invalid), "%Y", Sequential(3), 2, std::nullopt},
        {"JPEG without EXIF", WriteTestJpeg(8, 8), "%Y", Sequential(3), 3, std::nullopt},
        {"-not selected", JpegWithExif(Original(when)), "%Y", plain, 1, std::nullopt},
        {"camera values: slashes and control characters, then end spaces",
         JpegWithExif(Camera(when, "  Can/on\tX ", "EOS R5", "RF24-105mm F4 L")), "%{make}_%{model}_%{lens}_%Y ", plain, 1,
         "Can_on_X_EOS R5_RF24-105mm F4 L_2021 5.JPG"},
        {"a lens the pattern names is missing", JpegWithExif(Camera(when, "Canon", "EOS R5", "")), "%Y_%{lens}",
         Sequential(3), 4, std::nullopt, CaptureMark::NoCameraFact},
        {"a model of spaces only is missing", JpegWithExif(Camera(when, "Canon", "   ", "L")), "%{model}", plain, 1,
         std::nullopt, CaptureMark::NoCameraFact},
        {"a missing time's mark goes first", JpegWithExif(Camera("2023:02:29 10:00:00", "Canon", "R", "")),
         "%Y%{lens}", plain, 1, std::nullopt, CaptureMark::NoTime},
        {"an escaped mark is plain text", JpegWithExif(Camera(when, "", "", "")), "%%{make}%{mak}", plain, 1,
         "%{make}%{mak}5.JPG"},
    };

    TempFolder temp;
    std::vector<std::string> names;
    std::vector<bool> selected;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        names.push_back("P" + std::to_string(i) + "_5.JPG"); // "_5" keeps each name's digit run 5
        temp.Write(names.back(), rows[i].file);
        selected.push_back(rows[i].label[0] != '-');
    }
    CaptureTimeCache cache;
    const SelectedCaptureTimes first = CaptureTimesOfSelected(temp.path() + "/", names, selected, cache);
    EXPECT_EQ(first.HeadersRead, rows.size() - 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        const std::vector<metadata::Camera> cameras = {first.Cameras[i]};
        std::vector<CaptureMark> marks;
        const std::optional<std::string> part = CaptureTextParts(r.pattern, {first.Times[i]}, &cameras, &marks)[0];
        std::optional<std::string> name;
        if (part)
            name = ComposeNewName(names[i], r.options, r.number, *part);
        EXPECT_EQ(name, r.expected) << r.label;
        if (selected[i]) {
            EXPECT_EQ(marks[0], r.expected ? CaptureMark::None : r.missing) << r.label;
        }
    }

    // A second trial run over the unchanged folder reads no header again and finds the same.
    const SelectedCaptureTimes second = CaptureTimesOfSelected(temp.path() + "/", names, selected, cache);
    EXPECT_EQ(second.HeadersRead, 0u);
    EXPECT_EQ(second.Times, first.Times);
    EXPECT_EQ(second.Cameras, first.Cameras);
}

} // namespace

namespace {
struct DayFile {
    std::string name;
    std::optional<std::string> exifTime; // none: a JPEG without EXIF (or a companion)
    std::tm modified;                    // local time
};
struct DayCase {
    const char* label;
    std::vector<DayFile> files; // in list order, every one selected
    RenameInputValues inputs;
    std::vector<std::string> expected;
};

RenameInputValues ByDay(const char* text, bool namesFromTimes, int64_t offset, bool companions = false)
{
    RenameInputValues in;
    in.ChangeText = true;
    in.NewText = text;
    in.PadDigits = false;
    in.Sequential = true;
    in.BaseNumber = "1";
    in.DigitCount = 1;
    in.CaptureName = namesFromTimes;
    in.DayCounter = true;
    in.ClockOffset = offset;
    in.Companions = companions;
    return in;
}
} // namespace

// The counter starts again at each photo whose day differs from the photo before it: the
// capture day after the clock offset, else the local day the file was last modified (never
// offset); companions follow their photo and do not count.
TEST(CaptureNames, DayCounterCountsPerDayAfterTheClockOffset)
{
    const std::tm may1 = LocalTime(2024, 5, 1, 12, 0, 0), may3 = LocalTime(2024, 5, 3, 12, 0, 0),
                  may9 = LocalTime(2024, 5, 9, 12, 0, 0);
    const std::vector<DayFile> aroundMidnight = {{"a.jpg", "2024:05:01 22:30:00", may1},
                                                 {"b.jpg", "2024:05:01 23:30:00", may1},
                                                 {"c.jpg", "2024:05:02 00:10:00", may1}};
    const DayCase cases[] = {
        {"no offset", aroundMidnight, ByDay("%m%d_", true, 0), {"0501_1.jpg", "0501_2.jpg", "0502_1.jpg"}},
        {"an hour on: 23:30 moves past midnight", aroundMidnight, ByDay("%m%d_", true, 3600),
         {"0501_1.jpg", "0502_1.jpg", "0502_2.jpg"}},
        {"an hour and more back", aroundMidnight, ByDay("%m%d_", true, -(3600 + 11 * 60)),
         {"0501_1.jpg", "0501_2.jpg", "0501_3.jpg"}},
        {"no capture time: the modification day, not offset",
         {{"a.jpg", "2024:05:02 10:00:00", may1}, {"b.jpg", std::nullopt, may3}, {"c.jpg", "2024:05:03 09:00:00", may1}},
         ByDay("trip_", false, -13 * 3600),
         {"trip_1.jpg", "trip_1.jpg", "trip_1.jpg"}},
        {"the same without an offset",
         {{"a.jpg", "2024:05:02 10:00:00", may1}, {"b.jpg", std::nullopt, may3}, {"c.jpg", "2024:05:03 09:00:00", may1}},
         ByDay("trip_", false, 0),
         {"trip_1.jpg", "trip_1.jpg", "trip_2.jpg"}},
        {"companions follow and do not count",
         {{"IMG_1.CR2", std::nullopt, may9}, {"IMG_1.JPG", "2024:05:01 08:00:00", may1},
          {"IMG_2.JPG", "2024:05:01 09:00:00", may1}, {"IMG_3.JPG", "2024:05:02 09:00:00", may1}},
         ByDay("%d_", true, 0, true),
         {"01_1.CR2", "01_1.JPG", "01_2.JPG", "02_1.JPG"}},
    };
    for (const DayCase& c : cases) {
        SCOPED_TRACE(c.label);
        const TempFolder folder;
        std::vector<std::string> names;
        for (const DayFile& f : c.files) {
            const std::string path = folder.Write(
                f.name, f.exifTime ? JpegWithExif(Original(*f.exifTime)) : WriteTestJpeg(8, 8));
            std::tm t = f.modified;
            const timespec times[2] = {{std::mktime(&t), 0}, {std::mktime(&t), 0}};
            ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
            names.push_back(f.name);
        }
        const FileGroups groups = GroupFiles(names, std::vector<bool>(names.size(), true), c.inputs.Companions);
        RenameOptions options = OptionsOf(c.inputs, false, false);
        CaptureTimeCache cache;
        AddCaptureNaming(options, c.inputs, folder.path() + "/", names, groups, cache, nullptr);
        std::vector<std::string> rows;
        ComposeTrialRows(names, groups, options, 1, {}, rows);
        EXPECT_EQ(rows, c.expected);
    }
}

TEST(CaptureNames, ClockOffsetTextsReadAsTyped)
{
    const struct { const char* text; std::optional<int64_t> seconds; } cases[] = {
        {"+9:00:00", 9 * 3600},         {"-1:00:00", -3600},       {"+0:00:00", 0},
        {"+9999:59:59", 9999 * 3600 + 3599}, {"-0:30:05", -1805},  {"+10000:00:00", std::nullopt},
        {"9:00:00", std::nullopt},      {"+9:0:00", std::nullopt}, {"+9:60:00", std::nullopt},
        {"+9:00:00 ", std::nullopt},    {"+:00:00", std::nullopt}, {"+9:00", std::nullopt},
        {"", std::nullopt},             {"+９:00:00", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseClockOffset(c.text), c.seconds);
        if (c.seconds) {
            EXPECT_EQ(ParseClockOffset(ClockOffsetText(*c.seconds)), c.seconds);
        }
    }
}

// The capture-date sort shows its capture times with the offset; the date keys of files
// without one are modification times and stay.
TEST(CaptureNames, SortKeysTakeTheClockOffset)
{
    std::vector<std::string> keys = {"2024:05:01 23:30:00.120000000", "202405011230", "2024:01:01 00:00:05.000000000"};
    ShiftCaptureKeys(keys, 3600);
    EXPECT_EQ(keys, (std::vector<std::string>{"2024:05:02 00:30:00.120000000", "202405011230",
                                              "2024:01:01 01:00:05.000000000"}));
    ShiftCaptureKeys(keys, -(3600 + 6));
    EXPECT_EQ(keys[2], "2023:12:31 23:59:59.000000000");
}
