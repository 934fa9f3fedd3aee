// The one settings value: what each line decodes to, and that decoding what was encoded gives
// the value back.
#include "settings/settingsfile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

// A Ver0.9 file whose value lines are all empty but the one given.
SettingsRead OneLine(int line, const std::string& text)
{
    SettingsRead read;
    read.Marker = SettingsMarker::Ver09;
    read.Lines[0] = "Pelkorin Ver0.9";
    read.Lines[static_cast<std::size_t>(line)] = text;
    return read;
}

TEST(SettingsValues, EachLineDecodesIntoItsValue)
{
    struct Case {
        int line;
        std::string text;
        void (*set)(SettingsValues&);
    };
    const Case cases[] = {
        {2, "/photos/caf\xe9", [](SettingsValues& v) { v.StartFolder = "/photos/caf\xe9"; }},
        {4, "on", [](SettingsValues& v) { v.ChangeText = true; }},
        {6, "on", [](SettingsValues& v) { v.PadDigits = true; }},
        {8, "on", [](SettingsValues& v) { v.Sequential = true; }},
        {10, "100", [](SettingsValues& v) { v.DigitCount = 100; }},
        {10, "abc", [](SettingsValues& v) { v.DigitCount = SettingsNumber("abc"); }},
        {12, "on", [](SettingsValues& v) { v.ExtLowerCase = true; }},
        {14, "on", [](SettingsValues& v) { v.JpegToJpg = true; }},
        {16, "on", [](SettingsValues& v) { v.ChangeExt = true; }},
        {18, "/usr/bin/viewer", [](SettingsValues& v) { v.ViewerPath = "/usr/bin/viewer"; }},
        {20, "-40", [](SettingsValues& v) { v.Left = -40; }},
        {22, "25", [](SettingsValues& v) { v.Top = 25; }},
        {24, "007", [](SettingsValues& v) { v.BaseNumber = "007"; }},
        // Only exactly "on" is on.
        {12, "ON", [](SettingsValues&) {}},
        {14, "on ", [](SettingsValues&) {}},
        {4, "off", [](SettingsValues&) {}},
    };
    SettingsValues blank = DecodeSettings(OneLine(1, ""));
    EXPECT_EQ(blank.Marker, SettingsMarker::Ver09);
    EXPECT_FALSE(blank.ChangeText || blank.PadDigits || blank.Sequential || blank.ExtLowerCase ||
                 blank.JpegToJpg || blank.ChangeExt);
    for (const Case& c : cases) {
        SettingsValues expected = blank;
        c.set(expected);
        EXPECT_EQ(DecodeSettings(OneLine(c.line, c.text)), expected)
            << "line " << c.line << " \"" << c.text << '"';
    }
}

TEST(SettingsValues, MarkerSaysWhichLinesWereRead)
{
    std::string file = "Pelkorin Ver0.7\r\n";
    for (int i = 1; i <= 24; ++i)
        file += (i == 24 ? "77" : "on") + std::string("\r\n");
    const SettingsValues ver07 = DecodeSettings(ParseSettings(file));
    EXPECT_EQ(ver07.Marker, SettingsMarker::Ver07);
    EXPECT_TRUE(ver07.ChangeExt);
    EXPECT_EQ(ver07.BaseNumber, ""); // line 24 belongs to the newer format only
    const SettingsValues none = DecodeSettings(ParseSettings("Pelkorin\r\non\r\n"));
    EXPECT_EQ(none.Marker, SettingsMarker::None);
    EXPECT_FALSE(none.ChangeText);
    EXPECT_EQ(DecodeSettings(SettingsRead{}).Marker, SettingsMarker::None);
}

std::string RandomText(std::mt19937& rng)
{
    // Any byte the file can carry, non-UTF-8 ones included.
    static const std::string kBytes = std::string("/ a0-_.\t\x01\x7f\x80\xff\x81\x5c", 15) + "写真";
    std::string s;
    const int length = std::uniform_int_distribution<int>(0, 12)(rng);
    for (int i = 0; i < length; ++i)
        s += kBytes[std::uniform_int_distribution<std::size_t>(0, kBytes.size() - 1)(rng)];
    return s;
}

TEST(SettingsValues, DecodingTheEncodedTextGivesTheValueBack)
{
    std::mt19937 rng(16);
    std::uniform_int_distribution<int> anyInt(INT32_MIN, INT32_MAX);
    std::bernoulli_distribution coin;
    for (int round = 0; round < 500; ++round) {
        SettingsValues v;
        v.StartFolder = RandomText(rng);
        v.ChangeText = coin(rng);
        v.PadDigits = coin(rng);
        v.Sequential = coin(rng);
        v.DigitCount = coin(rng) ? anyInt(rng) : std::uniform_int_distribution<int>(0, 100)(rng);
        v.ExtLowerCase = coin(rng);
        v.JpegToJpg = coin(rng);
        v.ChangeExt = coin(rng);
        v.ViewerPath = RandomText(rng);
        v.Left = anyInt(rng);
        v.Top = anyInt(rng);
        v.BaseNumber = RandomText(rng);
        ASSERT_FALSE(UnstorableSettingsValue(v).has_value());
        const std::string text = BuildSettingsText(v);
        const SettingsValues back = DecodeSettings(ParseSettings(text));
        ASSERT_EQ(back, v) << "round " << round;
        // And the text a decoded value encodes to is the text it came from.
        ASSERT_EQ(BuildSettingsText(back), text) << "round " << round;
    }
}

} // namespace
