#include "rename/naming.h"

#include "rename/texthelpers.h"
#include "support/rowname.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <functional>
#include <string>
#include <vector>

namespace {

struct SplitCase {
    std::string name, text, digits, ext;
};

std::vector<SplitCase> SplitCases()
{
    return {
        {"IMG_0012.JPEG", "IMG_", "0012", ".JPEG"},
        {"photo.jpg", "photo", "", ".jpg"},
        {"2004.jpg", "", "2004", ".jpg"},
        {"readme", "readme", "", ""},
        {"readme12", "readme", "12", ""},
        {"archive.tar.gz", "archive.tar", "", ".gz"},
        {"v1.2", "v", "1", ".2"},   // digits after the dot belong to the extension
        {".profile", "", "", ".profile"},
        {"scan 7.jpg", "scan ", "7", ".jpg"},
        {"a-12.jpg", "a-", "12", ".jpg"},
        {"a+12.jpg", "a+", "12", ".jpg"},
        {"写真１２3.jpg", "写真１２", "3", ".jpg"}, // full-width digits are not in the run
        {"写真01.jpg", "写真", "01", ".jpg"},
        {"name.", "name", "", "."},
        {"", "", "", ""},
        {"12.", "", "12", "."},
        {"\xff" "9.x", "\xff", "9", ".x"},
    };
}

class SplitNameRows : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitNameRows, SplitsIntoTextDigitsAndExtension)
{
    const SplitCase& c = GetParam();
    const NameParts p = SplitName(c.name);
    EXPECT_EQ(p.TextPart, c.text) << c.name;
    EXPECT_EQ(p.DigitRun, c.digits) << c.name;
    EXPECT_EQ(p.Extension, c.ext) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Naming, SplitNameRows, testing::ValuesIn(SplitCases()),
                         RowNames([](const SplitCase& c) { return c.name; }));

using Tweak = std::function<void(RenameOptions&)>;

RenameOptions Pad(int width)
{
    RenameOptions o;
    o.PadDigits = true;
    o.DigitCount = width;
    return o;
}

struct ComposeCase {
    std::string name;
    RenameOptions options;
    int32_t seq;
    std::string expected;
};

std::vector<ComposeCase> ComposeCases()
{
    using Case = ComposeCase;
    RenameOptions none;
    RenameOptions trip = Pad(5);
    trip.ChangeText = true;
    trip.NewText = "trip";
    RenameOptions seq3;
    seq3.Sequential = true;
    seq3.DigitCount = 3;
    RenameOptions seqPad = Pad(3);
    seqPad.Sequential = true;
    RenameOptions lower;
    lower.ExtLowerCase = true;
    RenameOptions jpg;
    jpg.JpegToJpg = true;
    RenameOptions both = lower;
    both.JpegToJpg = true;
    RenameOptions bothPng = both;
    bothPng.ChangeExt = true;
    bothPng.NewExt = "PNG";
    RenameOptions dropExt;
    dropExt.ChangeExt = true;
    RenameOptions emptyText;
    emptyText.ChangeText = true;
    RenameOptions x3 = Pad(3);
    x3.ChangeText = true;
    x3.NewText = "x";
    RenameOptions txt = Pad(3);
    txt.ChangeExt = true;
    txt.NewExt = "txt";
    RenameOptions dotPng;
    dotPng.ChangeExt = true;
    dotPng.NewExt = ".png";
    RenameOptions seqWide;
    seqWide.Sequential = true;
    seqWide.DigitCount = 12; // wider than the ten zeros: the literal rule keeps ten
    RenameOptions padWide = Pad(12);

    const std::vector<Case> cases = {
        {"IMG_0012.JPEG", none, 1, "IMG_0012.JPEG"},
        {"IMG_0012.JPEG", Pad(3), 1, "IMG_012.JPEG"},
        {"IMG_0012.JPEG", Pad(5), 1, "IMG_00012.JPEG"},
        {"IMG_0012.JPEG", Pad(1), 1, "IMG_12.JPEG"},
        {"IMG_0012.JPEG", trip, 1, "trip00012.JPEG"},
        {"IMG_0012.JPEG", seq3, 7, "IMG_007.JPEG"},
        {"IMG_0012.JPEG", seqPad, 7, "IMG_007.JPEG"},
        {"IMG_0012.JPEG", seq3, 1234, "IMG_1234.JPEG"},
        {"IMG_0012.JPEG", lower, 1, "IMG_0012.jpeg"},
        {"IMG_0012.JPEG", jpg, 1, "IMG_0012.JPEG"},
        {"IMG_0012.JPEG", both, 1, "IMG_0012.jpg"},
        {"IMG_0012.JPEG", bothPng, 1, "IMG_0012.PNG"},
        {"IMG_0012.JPEG", dropExt, 1, "IMG_0012"},
        {"photo.jpg", Pad(3), 1, "photo000.jpg"},
        {"photo.jpg", emptyText, 1, ".jpg"},
        {"2004.jpg", Pad(3), 1, "2004.jpg"},
        {"2004.jpg", x3, 1, "x2004.jpg"},
        {"readme", txt, 1, "readme000.txt"},
        {"archive.tar.gz", Pad(2), 1, "archive.tar00.gz"},
        {".profile", Pad(2), 1, "00.profile"},
        {"scan 7.jpg", Pad(3), 1, "scan 007.jpg"},
        {"a-12.jpg", Pad(3), 1, "a-012.jpg"},
        {"pic0000.jpg", Pad(3), 1, "pic000.jpg"},
        {"pic000001234.jpg", Pad(3), 1, "pic1234.jpg"},
        // Beyond the worked examples.
        {"a1.jpg", seq3, -5, "a0-5.jpg"},
        {"a1.jpg", seq3, INT32_MIN, "a-2147483648.jpg"},
        {"photo.jpg", seq3, 3, "photo003.jpg"},
        {"x.Jpeg", jpg, 1, "x.Jpeg"},
        {"x.jpeg", jpg, 1, "x.jpg"},
        {"x.JPEG.jpeg", jpg, 1, "x.JPEG.jpg"},
        {"x.jpeg", dotPng, 1, "x..png"},
        {"X.ÄBC", lower, 1, "X.Äbc"},   // only A-Z are lowered; the name stays
        {"a1.jpg", seqWide, 42, "a000000000042.jpg"},
        {"a1.jpg", padWide, 1, "a00000000001.jpg"},
        {"a.jpg", padWide, 1, "a0000000000.jpg"},
        {"DSC20230101123456.jpg", none, 1, "DSC20230101123456.jpg"},
        {"DSC20230101123456.jpg", seq3, 9, "DSC009.jpg"},
        {"n2147483647", Pad(3), 1, "n2147483647"},
        {"", Pad(3), 1, "000"},
        {"", none, 1, ""},
    };
    return cases;
}

class ComposeNewNameRows : public testing::TestWithParam<ComposeCase> {};

TEST_P(ComposeNewNameRows, ComposesTheNewName)
{
    const ComposeCase& c = GetParam();
    try {
        EXPECT_EQ(ComposeNewName(c.name, c.options, c.seq), c.expected) << c.name;
    } catch (const EConvertError& e) {
        ADD_FAILURE() << c.name << ": " << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Naming, ComposeNewNameRows, testing::ValuesIn(ComposeCases()),
                         RowNames([](const ComposeCase& c) { return c.name + " to " + c.expected; }));

TEST(Naming, DigitRunBeyondInt32FailsOnlyWhenPadding)
{
    const std::vector<Tweak> failing = {
        [](RenameOptions&) {},
        [](RenameOptions& o) { o.Sequential = true; },
        [](RenameOptions& o) { o.ChangeText = true; o.ChangeExt = true; },
        [](RenameOptions& o) { o.DigitCount = 9; },
    };
    for (const Tweak& tweak : failing) {
        RenameOptions o = Pad(3);
        tweak(o);
        try {
            ComposeNewName("DSC20230101123456.jpg", o, 1);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'20230101123456' は整数ではありません");
        }
    }
    EXPECT_THROW(ComposeNewName("n2147483648", Pad(3), 1), EConvertError);
}

} // namespace

// The digit run, padded or numbered, is the last `width` characters of ten zeros followed by
// the digits, with the width never below the significant digits: checked against that
// definition for random runs, widths and numbers.
TEST(Naming, DigitRunsAreTheLastWidthCharactersOfTenZerosAndTheDigits)
{
    std::mt19937 random(20261209);
    const auto reference = [](const std::string& digits, int width) {
        return CharRight("0000000000" + digits, width);
    };
    for (int round = 0; round < 3000; ++round) {
        std::string digits(static_cast<std::size_t>(random() % 10), '0');
        for (char& c : digits)
            c = static_cast<char>('0' + random() % (round % 3 == 0 ? 2 : 10));
        const int width = static_cast<int>(random() % 43) - 2;
        RenameOptions pad = Pad(width);
        const int significant = digits.empty() ? 0 : CharLength(std::to_string(ParseInteger(digits)));
        EXPECT_EQ(ComposeNewName("IMG_" + digits + ".JPG", pad, 0),
                  "IMG_" + (digits.empty() ? reference("", width) : reference(digits, std::max(width, significant))) + ".JPG")
            << digits << " " << width;
        RenameOptions seq;
        seq.Sequential = true;
        seq.DigitCount = width;
        const auto number = static_cast<int32_t>(random());
        const std::string text = std::to_string(number);
        EXPECT_EQ(ComposeNewName("IMG_1.JPG", seq, number),
                  "IMG_" + reference(text, std::max(width, CharLength(text))) + ".JPG")
            << number << " " << width;
    }
}
