// RAW files and sidecars follow their photo, through the real window on real folders: what
// the trial run shows, what the execution leaves on disk, and the undo bringing back every
// member of every group.
#include "filelist/widgets/namelistview.h"
#include "support/mainwindowfixture.h"
#include "support/rowname.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QScopeGuard>

#include <filesystem>
#include <map>

using namespace Qt::StringLiterals;

namespace {

using Files = std::map<std::string, std::string>; // name -> content
using Pairs = std::vector<std::pair<std::string, std::string>>;

struct Situation {
    const char* label;
    std::vector<std::string> files; // each holds its own name
    std::vector<std::string> select;
    bool lowerCase;
    std::vector<std::string> rows; // the trial rows, in list order
    std::map<std::string, QString> tips; // the red rows and their tooltips
    Files after; // name -> content after the execution; empty: as before
    std::vector<QString> boxes; // the boxes the execution shows before its closing one
};

const QString kBlocked = u"関連ﾌｧｲﾙを変更できないため変更しません"_s;

const Situation kSituations[] = {
    {"a pair follows its photo", {"IMG_0001.CR2", "IMG_0001.JPG", "notes.txt"}, {"IMG_0001.JPG"}, false,
     {"Kyoto001.CR2", "Kyoto001.JPG"}, {},
     {{"Kyoto001.CR2", "IMG_0001.CR2"}, {"Kyoto001.JPG", "IMG_0001.JPG"}, {"notes.txt", "notes.txt"}}, {}},
    {"both sidecars, extensions lower-cased", {"IMG_1.JPG", "IMG_1.JPG.XMP", "IMG_1.xmp"}, {"IMG_1.JPG"}, true,
     {"Kyoto001.jpg", "Kyoto001.jpg.XMP", "Kyoto001.xmp"}, {},
     {{"Kyoto001.jpg", "IMG_1.JPG"}, {"Kyoto001.jpg.XMP", "IMG_1.JPG.XMP"}, {"Kyoto001.xmp", "IMG_1.xmp"}}, {}},
    {"a burst of pairs, both selected, counts photos", {"a.CR2", "a.JPG", "b.CR2", "b.JPG"},
     {"a.CR2", "a.JPG", "b.CR2", "b.JPG"}, false, {"Kyoto001.CR2", "Kyoto001.JPG", "Kyoto002.CR2", "Kyoto002.JPG"}, {},
     {{"Kyoto001.CR2", "a.CR2"}, {"Kyoto001.JPG", "a.JPG"}, {"Kyoto002.CR2", "b.CR2"}, {"Kyoto002.JPG", "b.JPG"}}, {}},
    {"RAW-only shooting", {"x.NEF", "x.NEF.xmp", "x.xmp"}, {"x.NEF"}, false,
     {"Kyoto001.NEF", "Kyoto001.NEF.xmp", "Kyoto001.xmp"}, {},
     {{"Kyoto001.NEF", "x.NEF"}, {"Kyoto001.NEF.xmp", "x.NEF.xmp"}, {"Kyoto001.xmp", "x.xmp"}}, {}},
    {"a RAW file's own sidecar follows it", {"IMG_3.CR2", "IMG_3.CR2.xmp", "IMG_3.JPG"}, {"IMG_3.JPG"}, false,
     {"Kyoto001.CR2", "Kyoto001.CR2.xmp", "Kyoto001.JPG"}, {},
     {{"Kyoto001.CR2", "IMG_3.CR2"}, {"Kyoto001.CR2.xmp", "IMG_3.CR2.xmp"}, {"Kyoto001.JPG", "IMG_3.JPG"}}, {}},
    {"a taken companion name keeps the whole group", {"IMG_2.CR2", "IMG_2.JPG", "Kyoto001.CR2"}, {"IMG_2.JPG"}, false,
     {"Kyoto001.CR2", "Kyoto001.JPG"},
     {{"IMG_2.JPG", kBlocked}, {"IMG_2.CR2", u"{work}/Kyoto001.CR2は存在するため変更できません"_s}},
     {}, {u"{work}/Kyoto001.CR2は存在するため変更できませんでした"_s}},
};

class CompanionWindow : public testing::TestWithParam<Situation> {};

TEST_P(CompanionWindow, TrialExecutionAndUndoMoveGroupsWhole)
{
    const Situation& s = GetParam();
    Pairs files;
    Files before;
    for (const std::string& f : s.files) {
        files.emplace_back(f, f);
        before[f] = f;
    }
    ProgramInWork w(files);
    TMain* m = w.m();
    auto* companions = Find<QAction>(m, "Companions1");
    companions->setChecked(true);
    const auto off = qScopeGuard([&] { companions->setChecked(false); });
    Find<QCheckBox>(m, "Check1")->setChecked(true);
    Find<QLineEdit>(m, "textvol")->setText(u"Kyoto"_s);
    Find<QCheckBox>(m, "Check2")->setChecked(true);
    Find<QCheckBox>(m, "Check3")->setChecked(true);
    Find<QLineEdit>(m, "text2")->setText(u"1"_s);
    Find<QCheckBox>(m, "Check4")->setChecked(false);
    m->Settings().SetExtensionFlags(s.lowerCase, false);
    w.SelectNames(s.select);
    const auto tipOf = [&](QString tip) { return tip.replace(u"{work}"_s, QString::fromStdString(w.work())); };

    w.Press("Button6");
    NameListView* newFile = w.list("NewFile");
    std::vector<std::string> rows;
    for (const std::string& r : RowBytes(newFile))
        if (!r.empty())
            rows.push_back(r);
    EXPECT_EQ(rows, s.rows);
    const std::vector<std::string> names = RowBytes(w.list("oldfile"));
    for (int r = 0; r < newFile->rowCount(); ++r) {
        const auto tip = s.tips.find(names[static_cast<std::size_t>(r)]);
        EXPECT_EQ(newFile->model()->index(r, 0).data(Qt::ToolTipRole).toString(),
                  tip == s.tips.end() ? QString() : tipOf(tip->second))
            << names[static_cast<std::size_t>(r)];
    }

    const std::vector<SeenBox> boxes = w.Press("Button7");
    ASSERT_EQ(boxes.size(), s.boxes.size() + 1);
    for (std::size_t i = 0; i < s.boxes.size(); ++i)
        EXPECT_EQ(boxes[i].Text, tipOf(s.boxes[i]));
    Files after;
    for (const std::string& name : w.OnDisk())
        after[name] = w.root().Read("work/" + name);
    EXPECT_EQ(after, s.after.empty() ? before : s.after);

    w.Trigger("Undo1");
    Files undone;
    for (const std::string& name : w.OnDisk())
        undone[name] = w.root().Read("work/" + name);
    EXPECT_EQ(undone, before);
}

INSTANTIATE_TEST_SUITE_P(Companions, CompanionWindow, testing::ValuesIn(kSituations),
                         RowNames([](const Situation& s) { return s.label; }));

// Off, a selected photo goes alone, and the option is remembered in its own file.
TEST(CompanionOption, OffRenamesThePhotoAloneAndTheStateIsKept)
{
    ProgramInWork w(Pairs{{"IMG_1.CR2", "raw"}, {"IMG_1.JPG", "jpeg"}});
    auto* companions = Find<QAction>(w.m(), "Companions1");
    EXPECT_EQ(companions->text(), u"関連ﾌｧｲﾙも変更(&R)"_s);
    EXPECT_TRUE(companions->isCheckable());
    EXPECT_FALSE(companions->isChecked());
    Find<QLineEdit>(w.m(), "textvol")->setText(u"K"_s);
    w.SelectNames({"IMG_1.JPG"});
    w.Press("Button7");
    EXPECT_EQ(w.OnDisk(), (std::vector<std::string>{"IMG_1.CR2", "K001.JPG"}));

    companions->setChecked(true);
    const auto off = qScopeGuard([&] { companions->setChecked(false); });
    ProgramInWork again(Pairs{});
    EXPECT_TRUE(Find<QAction>(again.m(), "Companions1")->isChecked());
}

} // namespace
