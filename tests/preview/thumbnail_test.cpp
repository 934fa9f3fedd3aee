#include "preview/thumbnail.h"
#include "support/rowname.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using preview::PictureBox;
using preview::PreviewChoice;

struct BoxCase {
    int width, height;
    PictureBox box;
};

class PictureBoxTable : public testing::TestWithParam<BoxCase> {};

TEST_P(PictureBoxTable, SizedAndCentredInThePanel)
{
    const BoxCase& c = GetParam();
    EXPECT_EQ(preview::PictureBoxFor(c.width, c.height), c.box);
}

// left, top, width, height
INSTANTIATE_TEST_SUITE_P(WorkedSizes, PictureBoxTable,
                         testing::Values(BoxCase{640, 480, {2, 13, 80, 60}},
                                         BoxCase{480, 640, {12, 3, 60, 80}},
                                         BoxCase{1920, 1080, {2, 21, 80, 45}},
                                         BoxCase{2000, 3000, {16, 3, 53, 80}},
                                         BoxCase{100, 100, {2, 3, 80, 80}},
                                         BoxCase{32, 3, {2, 39, 80, 8}},    // 7.5 -> 8
                                         BoxCase{32, 1, {2, 42, 80, 2}},    // 2.5 -> 2
                                         BoxCase{161, 1, {2, 43, 80, 0}},
                                         BoxCase{160, 1, {2, 43, 80, 0}},   // 0.5 -> 0
                                         BoxCase{1, 32, {41, 3, 2, 80}},
                                         BoxCase{3, 32, {38, 3, 8, 80}},
                                         BoxCase{1, 1, {2, 3, 80, 80}}),
                         RowNames([](const BoxCase& c) {
                             return std::to_string(c.width) + " x " + std::to_string(c.height);
                         }));

TEST(PictureBox, PanelSizeIsReadEachTime)
{
    EXPECT_EQ(preview::PictureBoxFor(640, 480, 100, 100), (PictureBox{10, 20, 80, 60}));
}

struct JpegTestCase {
    const char* name;
    bool passes;
    bool picture;  // the preview's wider test: HEIF, AVIF and raw files too
};

class JpegTestRows : public testing::TestWithParam<JpegTestCase> {};

TEST_P(JpegTestRows, ExtensionInAnyAsciiCase)
{
    EXPECT_EQ(preview::PassesJpegTest(GetParam().name), GetParam().passes) << GetParam().name;
    EXPECT_EQ(preview::PassesPictureTest(GetParam().name), GetParam().picture) << GetParam().name;
}

const JpegTestCase kJpegTestCases[] = {
    {"a.jpg", true, true},      {"b.JPG", true, true},     {"c.Jpg", true, true}, {"x.y.jpg", true, true},
    {".jpg", true, true},       {"d.jpeg", false, false},  {"e.jpg.bak", false, false}, {"jpg", false, false},
    {"f.jp", false, false},     {"g.jpgx", false, false},  {"", false, false},
    // Only A to Z fold: a full-width letter stays different.
    {"h.\xef\xbc\xaapg", false, false},
    {"i.HEIC", false, true},    {"j.heif", false, true},   {"k.Avif", false, true}, {"l.cr3", false, true},
    {"m.NEF", false, true},     {"n.x3f", false, true},    {"o.tif", false, false}, {"p.MOV", false, false},
    {"q.xmp", false, false},    {"heic", false, false},    {"r.heic.txt", false, false},
};

INSTANTIATE_TEST_SUITE_P(JpegTest, JpegTestRows, testing::ValuesIn(kJpegTestCases),
                         RowNames([](const JpegTestCase& c) { return c.name; }));
struct Rows {
    std::vector<std::string> names;
    std::vector<bool> selected;
};

Rows MakeRows(std::vector<std::string> names, std::vector<int> selectedRows)
{
    Rows rows{std::move(names), {}};
    rows.selected.assign(rows.names.size(), false);
    for (int r : selectedRows)
        rows.selected[static_cast<std::size_t>(r)] = true;
    return rows;
}

// Runs the button and then the presses; -1 in the result means hidden.
std::vector<int> Shown(const Rows& rows, int presses, int start = 0)
{
    std::vector<int> shown;
    PreviewChoice choice = preview::ShowFirst(rows.names, rows.selected, start);
    shown.push_back(choice.row);
    int index = choice.previewIndex;
    for (int p = 0; p < presses; ++p) {
        choice = preview::Step(rows.names, rows.selected, index);
        if (choice.row >= 0)
            EXPECT_EQ(choice.previewIndex, choice.row);
        else
            EXPECT_EQ(choice.previewIndex, 0);
        shown.push_back(choice.row);
        index = choice.previewIndex;
    }
    return shown;
}

TEST(PreviewStepping, TwoJpegsOfFive)
{
    const Rows rows = MakeRows({"0.txt", "1.txt", "a.jpg", "3.txt", "b.JPG"}, {2, 4});
    EXPECT_EQ(Shown(rows, 6), (std::vector<int>{2, 4, -1, 2, 4, -1, 2}));
}

TEST(PreviewStepping, HeifAndRawRowsAreSteppedThrough)
{
    const Rows rows = MakeRows({"a.heic", "b.txt", "c.NEF", "d.mov"}, {0, 2, 3});
    EXPECT_EQ(Shown(rows, 3), (std::vector<int>{0, 2, -1, 2}));
}

TEST(PreviewStepping, AllSelectedRowZeroOnlyThroughTheButton)
{
    const Rows rows = MakeRows({"0.jpg", "1.jpg", "2.jpg", "3.jpg", "4.jpg"}, {0, 1, 2, 3, 4});
    EXPECT_EQ(Shown(rows, 10), (std::vector<int>{0, 1, 2, 3, 4, -1, 1, 2, 3, 4, -1}));
}

TEST(PreviewStepping, TopmostSelectedRowIsLoadedWhateverItsExtension)
{
    const Rows rows = MakeRows({"x.txt", "y.jpg"}, {0, 1});
    EXPECT_EQ(Shown(rows, 2), (std::vector<int>{0, 1, -1}));
    const Rows jpegFirst = MakeRows({"p.jpeg", "q.txt", "r.jpg"}, {0, 2});
    EXPECT_EQ(Shown(jpegFirst, 1), (std::vector<int>{0, 2}));
}

TEST(PreviewStepping, StepTakesFirstSelectedRowAtOrAfterTheCandidate)
{
    // Rows 1 (text) and 3 (jpg) selected: a press from 0 loads the text row first.
    const Rows rows = MakeRows({"a.jpg", "b.txt", "c.txt", "d.jpg"}, {1, 3});
    EXPECT_EQ(preview::Step(rows.names, rows.selected, 0), (PreviewChoice{1, 1}));
    EXPECT_EQ(preview::Step(rows.names, rows.selected, 1), (PreviewChoice{3, 3}));
    EXPECT_EQ(preview::Step(rows.names, rows.selected, 3), (PreviewChoice{-1, 0}));
    // A selected text row after the last selected jpg is never reached.
    const Rows trailing = MakeRows({"a.jpg", "b.jpg", "c.txt"}, {1, 2});
    EXPECT_EQ(preview::Step(trailing.names, trailing.selected, 1), (PreviewChoice{-1, 0}));
}

TEST(PreviewStepping, NothingFoundLeavesTheIndexOrResetsIt)
{
    const Rows none = MakeRows({"a.jpg", "b.txt"}, {});
    EXPECT_EQ(preview::ShowFirst(none.names, none.selected, 7), (PreviewChoice{-1, 7}));
    EXPECT_EQ(preview::Step(none.names, none.selected, 7), (PreviewChoice{-1, 0}));
    const Rows onlyJpeg = MakeRows({"a.jpeg", "b.txt"}, {0, 1});
    EXPECT_EQ(preview::ShowFirst(onlyJpeg.names, onlyJpeg.selected, 3), (PreviewChoice{-1, 3}));
    const Rows empty;
    EXPECT_EQ(preview::ShowFirst(empty.names, empty.selected, 0), (PreviewChoice{-1, 0}));
    EXPECT_EQ(preview::Step(empty.names, empty.selected, 0), (PreviewChoice{-1, 0}));
    // An index left over from a longer list runs out at once.
    const Rows shorter = MakeRows({"a.jpg"}, {0});
    EXPECT_EQ(preview::Step(shorter.names, shorter.selected, 5), (PreviewChoice{-1, 0}));
}

} // namespace
