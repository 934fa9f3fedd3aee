// Folder situations with RAW files and sidecars: the trial rows a user sees, and how many
// photos the counter counts, with companions going along or not.
#include "rename/companions.h"
#include "rename/renamerun.h"

#include "support/rowname.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct Situation {
    const char* label;
    // The list in its order; "*" in front marks a selected file.
    std::vector<std::string> list;
    bool companions;
    RenameOptions options;
    std::vector<std::string> rows; // as the trial run shows them
    int photos;
};

RenameOptions Text(std::string text, bool sequential = false)
{
    RenameOptions o;
    o.ChangeText = true;
    o.NewText = std::move(text);
    o.Sequential = sequential;
    return o;
}

RenameOptions With(RenameOptions o, bool lower, bool jpegToJpg, const char* newExt = nullptr)
{
    o.ExtLowerCase = lower;
    o.JpegToJpg = jpegToJpg;
    o.ChangeExt = newExt != nullptr;
    o.NewExt = newExt ? newExt : "";
    return o;
}

const Situation kSituations[] = {
    {"pair, photo selected", {"IMG_1.CR2", "*IMG_1.JPG"}, true, Text("trip", true),
     {"trip001.CR2", "trip001.JPG"}, 1},
    {"pair, option off", {"IMG_1.CR2", "*IMG_1.JPG"}, false, Text("trip", true), {"", "trip001.JPG"}, 1},
    {"triple all selected, extensions lower-cased", {"*a.CR2", "*a.JPG", "*a.XMP"}, true,
     With(Text("b", true), true, false), {"b001.cr2", "b001.jpg", "b001.xmp"}, 1},
    {"both selected, option off", {"*a.CR2", "*a.JPG"}, false, Text("b", true), {"b001.CR2", "b002.JPG"}, 2},
    {"whole-name sidecar keeps its own letters", {"*a.JPG", "a.JPG.XMP", "a.JPG.thm"}, true,
     With(Text("b"), true, false, "png"), {"b.png", "b.png.XMP"}, 1},
    {"RAW-only shooting, the RAW selected", {"*x.CR2", "x.CR2.xmp", "x.xmp", "y.xmp"}, true, Text("y"),
     {"y.CR2", "y.CR2.xmp", "y.xmp"}, 1},
    {"RAW and sidecar both selected", {"*x.CR2", "*x.xmp"}, true, Text("y", true), {"y001.CR2", "y001.xmp"}, 1},
    {"the RAW is the photo whatever the order", {"*x.dop", "*x.NEF"}, true, With(Text("y"), false, false, "jpg"),
     {"y.dop", "y.jpg"}, 1},
    {"two RAW files: the first is the photo", {"*k.dng", "*k.CR2"}, true, Text("m", true), {"m001.dng", "m001.CR2"}, 1},
    {"a companion claimed by two photos", {"a.cr2", "*a.jpg", "*a.png"}, true, Text("p", true),
     {"p001.cr2", "p001.jpg", "p002.png"}, 2},
    {"base names differ in letter case", {"*IMG_1.jpg", "IMG_1.Cr2", "img_1.cr2"}, true, Text("z"),
     {"z1.jpg", "z1.Cr2"}, 1},
    {"JPEG rule is the photo's alone", {"*a.jpeg", "a.ARW"}, true, With(Text("b"), false, true), {"b.jpg", "b.ARW"}, 1},
    {"lower-case reaches companions", {"*a.jpeg", "a.ARW"}, true, With(Text("b"), true, true), {"b.jpg", "b.arw"}, 1},
    {"rows reach the last companion", {"*a.jpg", "b.txt", "a.nef"}, true, Text("c"), {"c.jpg", "", "c.nef"}, 1},
    {"a photo without extension", {"*a", "a.xmp", "a.jpg"}, true, Text("b"), {"b", "b.xmp"}, 1},
    {"a RAW companion's own sidecar follows it", {"*a.CR2", "*a.CR2.xmp", "*a.JPG"}, true, Text("b", true),
     {"b001.CR2", "b001.CR2.xmp", "b001.JPG"}, 1},
    {"a RAW companion's selected sidecar is no photo", {"*a.CR2.XMP", "a.CR2", "*a.JPG"}, true,
     With(Text("b", true), true, false), {"b001.cr2.XMP", "b001.cr2", "b001.jpg"}, 1},
    {"a live photo: its movie and edits follow", {"*IMG_1.HEIC", "IMG_1.MOV", "IMG_1.AAE"}, true, Text("p", true),
     {"p001.HEIC", "p001.MOV", "p001.AAE"}, 1},
    {"a live photo's movie selected too is no photo", {"*IMG_2.MOV", "*IMG_2.HEIC"}, true, Text("p", true),
     {"p001.MOV", "p001.HEIC"}, 1},
    {"a RAW without JPEG takes its sidecars", {"*x.NEF", "x.THM", "x.aae"}, true, Text("y"), {"y.NEF", "y.THM", "y.aae"}, 1},
    {"not a companion extension", {"*a.jpg", "a.tif", "a.xmpx", "a.jpg.thm"}, true, Text("b"), {"b.jpg"}, 1},
};

void PrintTo(const Situation& s, std::ostream* os)
{
    *os << s.label;
}

class CompanionSituations : public testing::TestWithParam<Situation> {};

TEST_P(CompanionSituations, TrialRowsAndCount)
{
    const Situation& s = GetParam();
    std::vector<std::string> names;
    std::vector<bool> selected;
    for (const std::string& entry : s.list) {
        selected.push_back(entry.starts_with('*'));
        names.push_back(selected.back() ? entry.substr(1) : entry);
    }
    std::vector<std::string> rows;
    int lastN = 0, lastT = 0;
    ComposeTrialRows(names, GroupFiles(names, selected, s.companions), s.options, 1,
                     [&](int n, int t) { lastN = n;
                         lastT = t; },
                     rows);
    EXPECT_EQ(rows, s.rows);
    EXPECT_EQ(lastN, s.photos);
    EXPECT_EQ(lastT, s.photos);
}

INSTANTIATE_TEST_SUITE_P(Companions, CompanionSituations, testing::ValuesIn(kSituations),
                         RowNames([](const Situation& s) { return std::string(s.label); }));

} // namespace
