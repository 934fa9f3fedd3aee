// Names made from the capture times of real photos: EXIF written with libexif, read back from
// the files as a trial run reads them, the pattern expanded and the name composed around it.
#include "filelist/capturereading.h"
#include "rename/capturenames.h"
#include "rename/naming.h"

#include "support/exifjpeg.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <optional>
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
};

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
        const std::optional<std::string> part = CaptureTextParts(r.pattern, {first.Times[i]})[0];
        std::optional<std::string> name;
        if (part)
            name = ComposeNewName(names[i], r.options, r.number, *part);
        EXPECT_EQ(name, r.expected) << r.label;
    }

    // A second trial run over the unchanged folder reads no header again and finds the same.
    const SelectedCaptureTimes second = CaptureTimesOfSelected(temp.path() + "/", names, selected, cache);
    EXPECT_EQ(second.HeadersRead, 0u);
    EXPECT_EQ(second.Times, first.Times);
}

} // namespace
