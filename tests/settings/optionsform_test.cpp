// What "登録" saves from the options dialog's controls, and the ranges the controls map to.
#include "settings/optionsform.h"
#include "support/rowname.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

TEST(OptionsForm, EachBoxLandsOnItsOwnLine)
{
    struct Case {
        bool OptionsForm::*box;
        int line;
    };
    const Case cases[] = {
        {&OptionsForm::ChangeText, 4},   {&OptionsForm::PadDigits, 6},
        {&OptionsForm::Sequential, 8},   {&OptionsForm::ExtLowerCase, 12},
        {&OptionsForm::JpegToJpg, 14},   {&OptionsForm::ChangeExt, 16},
    };
    for (const Case& c : cases) {
        OptionsForm form;
        form.*c.box = true;
        const std::vector<std::string> lines = Lines(BuildSettingsText(SavedValues(form, 0, 0)));
        ASSERT_EQ(lines.size(), 25u);
        for (const int flagLine : {4, 6, 8, 12, 14, 16})
            EXPECT_EQ(lines[flagLine], flagLine == c.line ? "on" : "off")
                << "box of line " << c.line << ", line " << flagLine;
    }
}

TEST(OptionsForm, PositionIsTheWindowsWhileSavingTheActualPosition)
{
    struct Case {
        bool saveActual;
        int barLeft, barTop, windowLeft, windowTop;
        int left, top;
    };
    const Case cases[] = {
        {true, 10, 20, 300, 150, 300, 150},
        {true, 0, 0, -40, 5000, -40, 5000}, // outside the bars' ranges
        {false, 10, 20, 300, 150, 10, 20},
        {false, 0, 0, -40, -7, 0, 0},
    };
    for (const Case& c : cases) {
        OptionsForm form;
        form.SaveActualPosition = c.saveActual;
        form.BarLeft = c.barLeft;
        form.BarTop = c.barTop;
        const SettingsValues v = SavedValues(form, c.windowLeft, c.windowTop);
        EXPECT_EQ(v.Left, c.left);
        EXPECT_EQ(v.Top, c.top);
        const std::vector<std::string> lines = Lines(BuildSettingsText(v));
        EXPECT_EQ(lines[20], std::to_string(c.left)); // left first
        EXPECT_EQ(lines[22], std::to_string(c.top));
    }
}

TEST(OptionsForm, TextsAndTheUnclampedDigitCountAreSavedAsTheyStand)
{
    OptionsForm form;
    form.StartFolder = "/photos/caf\xe9";
    form.ViewerPath = "/usr/bin/my viewer";
    form.BaseNumber = "0012";
    form.DigitCount = 12;
    const SettingsValues v = SavedValues(form, 0, 0);
    const std::vector<std::string> lines = Lines(BuildSettingsText(v));
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[0], "Pelkorin Ver0.9");
    EXPECT_EQ(lines[2], "/photos/caf\xe9");
    EXPECT_EQ(lines[10], "12");
    EXPECT_EQ(lines[18], "/usr/bin/my viewer");
    EXPECT_EQ(lines[24], "0012");
    EXPECT_FALSE(v.ExtLowerCase);
    EXPECT_FALSE(v.JpegToJpg);
}

using DigitCountCase = std::pair<int, int>;

class MainDigitCountRows : public testing::TestWithParam<DigitCountCase> {};

TEST_P(MainDigitCountRows, HoldsOneToNine)
{
    const auto& [count, main] = GetParam();
    EXPECT_EQ(MainDigitCount(count), main) << count;
}

const DigitCountCase kDigitCountCases[] = {{-5, 1}, {0, 1}, {1, 1}, {5, 5}, {9, 9}, {10, 9}, {100, 9}};

INSTANTIATE_TEST_SUITE_P(OptionsForm, MainDigitCountRows, testing::ValuesIn(kDigitCountCases),
                         RowNames([](const DigitCountCase& c) { return std::to_string(c.first); }));

TEST(OptionsForm, TrackBarsStayInsideTheScreen)
{
    EXPECT_EQ(TrackBarMaximum(1024, 300), 724);
    EXPECT_EQ(TrackBarMaximum(768, 200), 568);
    EXPECT_EQ(TrackBarMaximum(250, 300), 0); // a tiny screen gives no negative range
}

struct TrackBarCase {
    int value, maximum, position;
};

class TrackBarPositionRows : public testing::TestWithParam<TrackBarCase> {};

TEST_P(TrackBarPositionRows, StaysInsideTheBar)
{
    const TrackBarCase& c = GetParam();
    EXPECT_EQ(TrackBarPosition(c.value, c.maximum), c.position) << c.value << " in " << c.maximum;
}

const TrackBarCase kTrackBarCases[] = {{-20, 724, 0}, {0, 724, 0}, {50, 724, 50}, {724, 724, 724},
                                       {900, 724, 724}, {30, 0, 0}, {30, -5, 0}};

INSTANTIATE_TEST_SUITE_P(OptionsForm, TrackBarPositionRows, testing::ValuesIn(kTrackBarCases),
                         RowNames([](const TrackBarCase& c) {
                             return std::to_string(c.value) + " in " + std::to_string(c.maximum);
                         }));

} // namespace
