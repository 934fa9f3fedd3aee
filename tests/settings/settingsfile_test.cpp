#include "settings/settingsfile.h"

#include "base/errors.h"
#include "support/tempfolder.h"
#include "support/rowname.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iconv.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

const std::string kVer09 = "Pelkorin Ver0.9";
const std::string kVer07 = "Pelkorin Ver0.7";

// n lines "L1".."Ln" after the marker, each followed by the given line end.
std::string File(const std::string& marker, int n, const std::string& end = "\r\n")
{
    std::string s = marker + end;
    for (int i = 1; i <= n; ++i)
        s += "L" + std::to_string(i) + end;
    return s;
}

SettingsLinesArray Expect(const std::string& line0, int through)
{
    SettingsLinesArray lines;
    lines[0] = line0;
    for (int i = 1; i <= through; ++i)
        lines[i] = "L" + std::to_string(i);
    return lines;
}

struct ParseCase {
    const char* what;
    std::string bytes;
    SettingsMarker marker;
    SettingsLinesArray lines;
};

std::vector<ParseCase> ParseCases()
{
    using Case = ParseCase;
    SettingsLinesArray lfOnly;
    lfOnly[0] = File(kVer09, 24, "\n");
    SettingsLinesArray wrongCase;
    wrongCase[0] = "pelkorin ver0.9";
    SettingsLinesArray trailingBlank;
    trailingBlank[0] = kVer09 + " ";
    SettingsLinesArray leadingBlank;
    leadingBlank[0] = " " + kVer09;
    SettingsLinesArray empty;
    SettingsLinesArray ctrlZ = Expect(kVer09, 3);
    ctrlZ[4] = "L4";
    SettingsLinesArray ctrlZHalf = Expect(kVer09, 3);
    ctrlZHalf[4] = "L";
    SettingsLinesArray crcr = Expect(kVer09, 0);
    crcr[2] = "x";
    SettingsLinesArray utf8Bom;
    utf8Bom[0] = "\xef\xbb\xbf" + kVer09;

    const std::vector<Case> cases = {
        {"CR LF", File(kVer09, 24), SettingsMarker::Ver09, Expect(kVer09, 24)},
        {"CR only", File(kVer09, 24, "\r"), SettingsMarker::Ver09, Expect(kVer09, 24)},
        {"no end after last", File(kVer09, 23) + "L24", SettingsMarker::Ver09, Expect(kVer09, 24)},
        {"LF only: one line", File(kVer09, 24, "\n"), SettingsMarker::None, lfOnly},
        {"LF CR", kVer09 + "\n\r", SettingsMarker::None, [] {
             SettingsLinesArray a;
             a[0] = "Pelkorin Ver0.9\n";
             return a;
         }()},
        {"LF inside a line", [] {
             std::string s = File(kVer09, 24);
             return s.replace(s.find("\r\nL2\r\n"), 6, "\r\na\nb\r\n");
         }(),
         SettingsMarker::Ver09, [] {
             SettingsLinesArray a = Expect("Pelkorin Ver0.9", 24);
             a[2] = "a\nb";
             return a;
         }()},
        {"CR CR is an empty line", kVer09 + "\r\r\nx\r\n", SettingsMarker::Ver09, crcr},
        {"lines past 24 ignored", File(kVer09, 40), SettingsMarker::Ver09, Expect(kVer09, 24)},
        {"Ver0.7 stops at 22", File(kVer07, 24), SettingsMarker::Ver07, Expect(kVer07, 22)},
        {"missing lines", File(kVer09, 9), SettingsMarker::Ver09, Expect(kVer09, 9)},
        {"marker only", kVer09, SettingsMarker::Ver09, Expect(kVer09, 0)},
        {"wrong case", File("pelkorin ver0.9", 24), SettingsMarker::None, wrongCase},
        {"trailing blank", File(kVer09 + " ", 24), SettingsMarker::None, trailingBlank},
        {"leading blank", File(" " + kVer09, 24), SettingsMarker::None, leadingBlank},
        {"BOM", File("\xef\xbb\xbf" + kVer09, 24), SettingsMarker::None, utf8Bom},
        {"Ctrl-Z ends the data", File(kVer09, 4) + "\x1a" + "L5\r\nL6\r\n",
         SettingsMarker::Ver09, ctrlZ},
        {"Ctrl-Z inside a line", File(kVer09, 3) + "L\x1a" "4\r\nL5\r\n", SettingsMarker::Ver09,
         ctrlZHalf},
        {"Ctrl-Z first", "\x1a" + File(kVer09, 24), SettingsMarker::None, empty},
        {"empty", "", SettingsMarker::None, empty},
    };
    return cases;
}

class ParseRows : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseRows, ParsesLinesAsTheReaderTakesThem)
{
    const ParseCase& c = GetParam();
    const SettingsRead read = ParseSettings(c.bytes);
    EXPECT_EQ(read.Marker, c.marker) << c.what;
    for (int i = 0; i < kSettingsLines; ++i)
        EXPECT_EQ(read.Lines[i], c.lines[i]) << c.what << ", line " << i;
}

INSTANTIATE_TEST_SUITE_P(SettingsFile, ParseRows, testing::ValuesIn(ParseCases()),
                         RowNames([](const ParseCase& c) { return c.what; }));

TEST(SettingsFile, SurvivesArbitraryBytes)
{
    std::string binary;
    for (int i = 0; i < 256 * 64; ++i)
        binary += static_cast<char>((i * 37 + i / 256) & 0xFF);
    const std::vector<std::string> inputs = {
        std::string(5'000'000, 'x'),
        kVer09 + "\r\n" + std::string(5'000'000, '\0'),
        kVer09 + "\r\n" + std::string(1'000'000, '\r'),
        kVer09 + "\r\n" + std::string(1'000'000, '\n'),
        kVer09 + "\r\n" + binary,
        binary,
    };
    for (const std::string& bytes : inputs) {
        const SettingsRead read = ParseSettings(bytes);
        std::size_t total = 0;
        for (const std::string& line : read.Lines)
            total += line.size();
        EXPECT_LE(total, bytes.size());
    }
    EXPECT_EQ(ParseSettings(kVer09 + "\r\n" + std::string(10, '\0')).Lines[1],
              std::string(10, '\0'));
}

TEST(SettingsFile, FlagTexts)
{
    EXPECT_TRUE(FlagOn("on"));
    for (const char* off : {"off", "ON", "On", " on", "on ", "", "o", "onn"})
        EXPECT_FALSE(FlagOn(off)) << off;
    EXPECT_STREQ(FlagText(true), "on");
    EXPECT_STREQ(FlagText(false), "off");
}

std::vector<std::string> SplitCrLf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    for (std::size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
        lines.push_back(text.substr(pos, end - pos));
    EXPECT_EQ(pos, text.size()) << "text must end in CR LF";
    return lines;
}

std::string ShiftJisToUtf8(const std::string& sjis)
{
    iconv_t cd = iconv_open("UTF-8", "SHIFT_JIS");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return "<iconv unavailable>";
    std::string in = sjis;
    std::string out(sjis.size() * 3 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1))
        return "<not Shift-JIS>";
    out.resize(out.size() - outLeft);
    return out;
}

TEST(SettingsFile, BuildsTwentyFiveLines)
{
    SettingsValues v;
    v.StartFolder = "/home/写真";
    v.ChangeText = false;
    v.PadDigits = true;
    v.Sequential = true;
    v.DigitCount = 5;
    v.ExtLowerCase = true;
    v.JpegToJpg = false;
    v.ChangeExt = true;
    v.ViewerPath = "/usr/bin/viewer";
    v.Left = -12;
    v.Top = 340;
    v.BaseNumber = "007";

    const std::vector<std::string> lines = SplitCrLf(BuildSettingsText(v));
    ASSERT_EQ(lines.size(), 25u);
    const std::vector<std::string> expected = {
        "Pelkorin Ver0.9",
        "[起動フォルダ]", "/home/写真",
        "[文字列変更]", "off",
        "[数列桁数調整]", "on",
        "[数列連番設定]", "on",
        "[数列桁数設定]", "5",
        "[拡張子小文字設定]", "on",
        "[拡張子jpg設定]", "off",
        "[拡張子変更設定]", "on",
        "[外部ビュアー設定]", "/usr/bin/viewer",
        "[表示水平位置]", "-12",
        "[表示垂直位置]", "340",
        "[連番の基準番号]", "007",
    };
    for (int i = 0; i < kSettingsLines; ++i) {
        // Headers are stored as Shift-JIS; values byte for byte.
        const std::string got = i % 2 == 1 ? ShiftJisToUtf8(lines[i]) : lines[i];
        EXPECT_EQ(got, expected[i]) << "line " << i;
    }
}

TEST(SettingsFile, PathIsBesideTheProgram)
{
    EXPECT_EQ(SettingsPath("/opt/pelkorin"), "/opt/pelkorin/Pelkorin.ini");
    EXPECT_EQ(SettingsPath("/"), "/Pelkorin.ini");
}

TEST(SettingsFile, WriteThenReadRoundTrip)
{
    TempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    EXPECT_FALSE(ReadSettingsFile(folder.path()).has_value());

    SettingsValues v;
    v.StartFolder = "/data/名前 with space";
    v.ChangeText = false;
    v.PadDigits = false;
    v.Sequential = true;
    v.DigitCount = 100;
    v.ExtLowerCase = true;
    v.JpegToJpg = false;
    v.ChangeExt = true;
    v.ViewerPath = "";
    v.Left = -2147483647 - 1;
    v.Top = 2147483647;
    v.BaseNumber = "-99";
    WriteSettingsFile(folder.path(), v);
    EXPECT_EQ(ReadFileBytes(folder.path() + "/Pelkorin.ini"), BuildSettingsText(v));

    // Writing again replaces the file rather than appending to it.
    WriteSettingsFile(folder.path() + "/", v);
    const std::optional<SettingsRead> read = ReadSettingsFile(folder.path());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->Marker, SettingsMarker::Ver09);
    const SettingsLinesArray& l = read->Lines;
    EXPECT_EQ(l[2], v.StartFolder);
    EXPECT_FALSE(FlagOn(l[4]));
    EXPECT_FALSE(FlagOn(l[6]));
    EXPECT_TRUE(FlagOn(l[8]));
    EXPECT_EQ(l[10], "100");
    EXPECT_EQ(l[12], "on");
    EXPECT_EQ(l[14], "off");
    EXPECT_TRUE(FlagOn(l[16]));
    EXPECT_EQ(l[18], "");
    EXPECT_EQ(l[20], "-2147483648");
    EXPECT_EQ(l[22], "2147483647");
    EXPECT_EQ(l[24], "-99");
}

TEST(SettingsFile, WritingThroughASymbolicLinkKeepsTheLinkAndTheTargetsMode)
{
    // As a dotfile manager keeps it: the file a link to a link, relative, in another folder.
    TempFolder folder;
    folder.MakeFolder("dotfiles");
    folder.MakeFolder("program");
    folder.Write("dotfiles/real.ini", File(kVer07, 22));
    ASSERT_EQ(chmod((folder / "dotfiles/real.ini").c_str(), 0600), 0);
    ASSERT_EQ(symlink("real.ini", (folder / "dotfiles/current.ini").c_str()), 0);
    ASSERT_EQ(symlink("../dotfiles/current.ini", (folder / "program/Pelkorin.ini").c_str()), 0);

    SettingsValues v;
    v.StartFolder = "/photos";
    WriteSettingsFile(folder / "program", v);

    EXPECT_EQ(folder.Read("dotfiles/real.ini"), BuildSettingsText(v));
    struct stat st;
    ASSERT_EQ(lstat((folder / "program/Pelkorin.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(lstat((folder / "dotfiles/current.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat((folder / "dotfiles/real.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    // No temporary file left beside the target or the link.
    for (const char* sub : {"dotfiles", "program"})
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / sub),
                                std::filesystem::directory_iterator()),
                  sub[0] == 'd' ? 2 : 1) << sub;

    // A new file is readable by all, whatever the umask.
    WriteSettingsFile(folder / "dotfiles", v);
    ASSERT_EQ(stat((folder / "dotfiles/Pelkorin.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST(SettingsFile, ReadingAFolderNamedLikeTheFileFindsNoFile)
{
    TempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    std::filesystem::create_directory(folder.path() + "/Pelkorin.ini");
    EXPECT_FALSE(ReadSettingsFile(folder.path()).has_value());
}

TEST(SettingsFile, FailedWriteThrowsAndKeepsTheOldFile)
{
    TempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const std::string old = File(kVer07, 22);
    {
        std::ofstream out(folder.path() + "/Pelkorin.ini", std::ios::binary);
        out << old;
    }
    // A "program folder" that is really a file, and one that does not exist.
    const std::vector<std::string> badFolders = {
        folder.path() + "/Pelkorin.ini",
        folder.path() + "/missing/deeper",
    };
    for (const std::string& bad : badFolders)
        EXPECT_THROW(WriteSettingsFile(bad, SettingsValues{}), EFileError) << bad;
    EXPECT_EQ(ReadFileBytes(folder.path() + "/Pelkorin.ini"), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(SettingsFile, ValuesTheFileCannotHoldAreRefusedAndNothingIsWritten)
{
    struct Case {
        const char* what;
        std::string SettingsValues::*field;
        std::string value;
        const char* named;
    };
    const Case cases[] = {
        {"CR in the start folder", &SettingsValues::StartFolder, "/data/a\rb", "「起動フォルダ」"},
        {"LF in the start folder", &SettingsValues::StartFolder, "/data/a\nb", "「起動フォルダ」"},
        {"CR LF ending the start folder", &SettingsValues::StartFolder, "/data\r\n",
         "「起動フォルダ」"},
        {"Ctrl-Z in the viewer", &SettingsValues::ViewerPath, std::string("/usr/bin/\x1a", 10),
         "「外部ビュアー」"},
        {"CR in the viewer", &SettingsValues::ViewerPath, "\r", "「外部ビュアー」"},
        {"LF in the base number", &SettingsValues::BaseNumber, "1\n2", "「連番の基準番号」"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        ASSERT_FALSE(folder.path().empty());
        const std::string old = File(kVer09, 24);
        {
            std::ofstream out(folder.path() + "/Pelkorin.ini", std::ios::binary);
            out << old;
        }
        SettingsValues v;
        v.*c.field = c.value;
        const std::optional<std::string> message = UnstorableSettingsValue(v);
        ASSERT_TRUE(message.has_value()) << c.what;
        EXPECT_NE(message->find(c.named), std::string::npos) << c.what << ": " << *message;

        try {
            WriteSettingsFile(folder.path(), v);
            ADD_FAILURE() << c.what << ": written";
        } catch (const ESettingsValueError& e) {
            EXPECT_EQ(std::string(e.what()), *message) << c.what;
        }
        EXPECT_EQ(ReadFileBytes(folder.path() + "/Pelkorin.ini"), old) << c.what;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                                std::filesystem::directory_iterator()),
                  1)
            << c.what;
    }
}

TEST(SettingsFile, OrdinaryValuesAreStorable)
{
    SettingsValues v;
    EXPECT_FALSE(UnstorableSettingsValue(v).has_value());
    v.StartFolder = std::string("/data/\t\x01\x7f\xff\x81\x5c", 12);
    v.ViewerPath = "/usr/bin/viewer --flag";
    v.BaseNumber = "-99";
    EXPECT_FALSE(UnstorableSettingsValue(v).has_value());
}

} // namespace
