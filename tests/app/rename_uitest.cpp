// The trial run, the execution and the click on the list of current names, driven through
// the real window on real folders.
#include "filelist/widgets/namelistview.h"
#include "support/mainwindowfixture.h"
#include "support/rowname.h"
#include "support/tempfolder.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <map>

using namespace Qt::StringLiterals;

namespace {

using Files = std::map<std::string, std::string>; // name -> content
using Names = std::vector<std::string>;

const QString kTrialDone = QStringLiteral("　　　　　仮実行終了　　　　\r　確認後　実行してください　");
const QString kExecuteDone = QStringLiteral("　　　実行処理が終了しました　　　　");
const QString kNothingSelected = QStringLiteral("ファイルが選択されていません。");

struct Opts {
    bool check1 = false;
    std::string textvol = {};
    bool check2 = false;
    int digits = 3;
    bool check3 = false;
    std::string base = "0";
    bool check4 = false;
    std::string edit4 = {};
};

class Window : public ProgramInWork {
public:
    explicit Window(const Files& files, const Names& folders = {})
        : ProgramInWork({files.begin(), files.end()}, folders)
    {
    }

    void Apply(const Opts& o) const
    {
        Find<QCheckBox>(m(), "Check1")->setChecked(o.check1);
        Find<QLineEdit>(m(), "textvol")->setText(QString::fromStdString(o.textvol));
        Find<QCheckBox>(m(), "Check2")->setChecked(o.check2);
        Find<QSpinBox>(m(), "UpDown1")->setValue(o.digits);
        Find<QCheckBox>(m(), "Check3")->setChecked(o.check3);
        Find<QLineEdit>(m(), "text2")->setText(QString::fromStdString(o.base));
        Find<QCheckBox>(m(), "Check4")->setChecked(o.check4);
        Find<QLineEdit>(m(), "Edit4")->setText(QString::fromStdString(o.edit4));
    }
    void UserClick(int row, Qt::KeyboardModifiers mod = Qt::NoModifier) const
    {
        NameListView* v = list("oldfile");
        QTest::mouseClick(v->viewport(), Qt::LeftButton, mod, v->visualRect(v->model()->index(row, 0)).center());
    }
};

QStringList Texts(const std::vector<SeenBox>& boxes)
{
    QStringList texts;
    for (const SeenBox& b : boxes)
        texts << b.Text;
    return texts;
}

// The files of the program's folder with their contents.
Files OnDisk(const TempFolder& root)
{
    Files files;
    for (const auto& e : std::filesystem::directory_iterator(root / "work"))
        if (!e.is_directory())
            files[e.path().filename().native()] = root.Read("work/" + e.path().filename().native());
    return files;
}

Names Entries(const std::string& folder)
{
    Names n;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        n.push_back(e.path().filename().native());
    std::sort(n.begin(), n.end());
    return n;
}

TEST(RenameTrial, FillsSelectedRowsWithEmptyRowsBetweenAndClosesWithMessage)
{
    Files files;
    for (int i = 0; i < 8; ++i)
        files["f" + std::to_string(i) + ".jpg"] = std::to_string(i);
    Window w(files);
    w.Apply({.check1 = true, .textvol = "new", .check2 = true, .digits = 3});
    w.SelectRows({2, 5});
    QLabel* image = Find<QLabel>(w.m(), "Image1");
    image->show();
    image->setEnabled(true);

    const std::vector<SeenBox> boxes = w.Press("Button6");

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, kTrialDone);
    EXPECT_EQ(boxes[0].Title, u"Pelkorin"_s);
    EXPECT_EQ(boxes[0].Icon, QMessageBox::NoIcon);
    EXPECT_EQ(RowBytes(w.list("NewFile")), (Names{"", "", "new002.jpg", "", "", "new005.jpg"}));
    EXPECT_EQ(w.counter(), u"002/002"_s);
    EXPECT_TRUE(image->isHidden());
    EXPECT_FALSE(image->isEnabled());
    EXPECT_EQ(OnDisk(w.root()), files); // a trial touches nothing
}

TEST(RenameTrial, NewFileTakesTopRowOfOldfile)
{
    Files files;
    for (int i = 0; i < 60; ++i)
        files["g" + std::to_string(100 + i) + ".jpg"] = "";
    Window w(files);
    w.Apply({});
    w.Press("Button3");
    w.list("oldfile")->setTopRow(20);
    w.Press("Button6");
    EXPECT_GT(w.list("oldfile")->topRow(), 0);
    EXPECT_EQ(w.list("NewFile")->topRow(), w.list("oldfile")->topRow());
}

TEST(RenameTrial, FailuresStopTheRunAndShowWhatWasDone)
{
    struct Case {
        const char* label;
        std::vector<int> select;
        std::string base;
        bool check3;
        QString text;
        QMessageBox::Icon icon;
        Names rows;
        QString counter;
    };
    const std::vector<Case> cases = {
        {"nothing selected", {}, "0", false, kNothingSelected, QMessageBox::NoIcon, {}, u" 000/ 000"_s},
        {"empty base, Check3 off", {0}, "", false, u"'' は整数ではありません."_s, QMessageBox::Critical, {}, u" 000/ 000"_s},
        {"empty base, Check3 on", {0}, "", true, u"'' は整数ではありません."_s, QMessageBox::Critical, {}, u" 000/ 000"_s},
        {"digit run too large", {0, 1, 2, 3}, "0", false, u"'20230101123456' は整数ではありません."_s,
         QMessageBox::Critical, {"a001.jpg", "b002.jpg"}, u"003/004"_s},
    };
    Window w({{"a1.jpg", ""}, {"b2.jpg", ""}, {"DSC20230101123456.jpg", ""}, {"z3.jpg", ""}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        // A successful run first, so the failing one has rows and a count to clear.
        w.Apply({.check2 = true});
        w.SelectRows({0, 1});
        ASSERT_EQ(w.Press("Button6").size(), 1u);
        ASSERT_EQ(w.list("NewFile")->rowCount(), 2);

        w.Apply({.check2 = true, .check3 = c.check3, .base = c.base});
        w.SelectRows(c.select);
        const std::vector<SeenBox> boxes = w.Press("Button6");
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Text, c.text);
        EXPECT_EQ(boxes[0].Title, u"Pelkorin"_s);
        EXPECT_EQ(boxes[0].Icon, c.icon);
        EXPECT_EQ(RowBytes(w.list("NewFile")), c.rows);
        EXPECT_EQ(w.counter(), c.counter);
    }
}

TEST(RenameTrial, SequenceFromBaseWithDigitCountWhilePaddingIsOff)
{
    Window w({{"a1.jpg", ""}, {"DSC20230101123456.jpg", ""}, {"z99.png", ""}});
    w.Apply({.check2 = false, .digits = 4, .check3 = true, .base = "7"});
    w.SelectRows({1, 2});
    ASSERT_EQ(Texts(w.Press("Button6")), QStringList{kTrialDone});
    EXPECT_EQ(RowBytes(w.list("NewFile")), (Names{"", "DSC0007.jpg", "z0008.png"}));
    EXPECT_EQ(w.counter(), u"002/002"_s);
}

TEST(RenameTrial, UserClickCopiesTextPartOfHighestSelectedRow)
{
    Window w({{"alpha12.jpg", ""}, {"beta3.jpg", ""}, {"gamma.png", ""}});
    w.Apply({.check1 = false, .textvol = "typed"}); // also while textvol is disabled
    QLineEdit* textvol = Find<QLineEdit>(w.m(), "textvol");
    const QString counter = w.counter();
    struct Step {
        int row;
        Qt::KeyboardModifiers mod;
        QString textvol;
    };
    const std::vector<Step> steps = {
        {2, Qt::NoModifier, u"gamma"_s},
        {0, Qt::ControlModifier, u"gamma"_s}, // row 0 joins, row 2 is still the highest
        {1, Qt::NoModifier, u"beta"_s},
        {0, Qt::ControlModifier, u"beta"_s},
        {1, Qt::ControlModifier, u"alpha"_s}, // row 1 leaves
    };
    for (const Step& s : steps) {
        w.UserClick(s.row, s.mod);
        EXPECT_EQ(textvol->text(), s.textvol) << "after clicking row " << s.row;
    }
    EXPECT_EQ(w.list("NewFile")->rowCount(), 0);
    EXPECT_EQ(w.counter(), counter);

    // Selecting from the program does not copy.
    textvol->setText(u"typed"_s);
    w.Press("Button3");
    EXPECT_EQ(w.list("oldfile")->selectedFlags(), std::vector<bool>(3, true));
    EXPECT_EQ(textvol->text(), u"typed"_s);
    w.Press("Button4");
    EXPECT_EQ(textvol->text(), u"typed"_s);
}

struct ExecuteCase {
    const char* label;
    Files files;
    Opts opts;
    Names select;
    Names reported; // new names reported as taken, in order
    Files after;
    std::string click = {}; // a row the user clicks before the selection is made
    Names folders = {};      // subfolders of the folder, which must stay empty
};

std::vector<ExecuteCase> ExecuteCases()
{
    using Case = ExecuteCase;
    const std::string sjis = "\x82\xa0\x82\xa2 "; // Shift-JIS, not UTF-8
    const std::vector<Case> cases = {
        {"two files compose the same name", {{"a1.jpg", "A"}, {"b1.jpg", "B"}, {"c2.jpg", "C"}},
         {.check1 = true, .textvol = "x", .check2 = true}, {"a1.jpg", "b1.jpg", "c2.jpg"}, {"x001.jpg"},
         {{"x001.jpg", "A"}, {"b1.jpg", "B"}, {"x002.jpg", "C"}}},
        {"name of a later file; numbers advance past reports", {{"p1.jpg", "A"}, {"p2.jpg", "B"}, {"p3.jpg", "C"}},
         {.digits = 1, .check3 = true, .base = "2"}, {"p1.jpg", "p2.jpg", "p3.jpg"}, {"p2.jpg", "p3.jpg"},
         {{"p1.jpg", "A"}, {"p2.jpg", "B"}, {"p4.jpg", "C"}}},
        {"unchanged name skipped, spaces kept", {{"my photo 12.jpg", "A"}, {"scan 007.jpg", "B"}, {"z 1.jpg", "C"}},
         {.check2 = true}, {"my photo 12.jpg", "scan 007.jpg"}, {},
         {{"my photo 012.jpg", "A"}, {"scan 007.jpg", "B"}, {"z 1.jpg", "C"}}},
        {"raw bytes through textvol and the rename", {{sjis + "5.jpg", "A"}, {"q9.jpg", "B"}},
         {.check1 = true, .check2 = true, .digits = 2}, {sjis + "5.jpg", "q9.jpg"}, {},
         {{sjis + "05.jpg", "A"}, {sjis + "09.jpg", "B"}}, sjis + "5.jpg"},
        {"slash from textvol", {{"f1.jpg", "A"}}, {.check1 = true, .textvol = "a/b", .check2 = true},
         {"f1.jpg"}, {}, {{"f1.jpg", "A"}}, {}, {"a"}},
        {"slash from Edit4 leading out of the folder", {{"q.jpg", "A"}, {"r", "B"}},
         {.check1 = true, .check4 = true, .edit4 = "./x"}, {"q.jpg", "r"}, {}, {{"q.jpg", "A"}, {"r", "B"}}},
        {"empty and dot names", {{"abc", "A"}, {"k.", "B"}, {"m1.x", "C"}}, {.check1 = true},
         {"abc", "k.", "m1.x"}, {}, {{"abc", "A"}, {"k.", "B"}, {"1.x", "C"}}},
    };
    return cases;
}

class ExecuteRows : public testing::TestWithParam<ExecuteCase> {};

TEST_P(ExecuteRows, RenamesOnDiskReportsTakenNamesAndNeverLosesAFile)
{
    const ExecuteCase& c = GetParam();
    Window w(c.files, c.folders);
    w.Apply(c.opts);
    if (!c.click.empty())
        w.UserClick(w.RowOf(c.click));
    w.SelectNames(c.select);
    ASSERT_EQ(w.Press("Button6").size(), 1u); // a trial first: the execution ignores its rows

    const std::vector<SeenBox> boxes = w.Press("Button7");

    QStringList expected;
    for (const std::string& n : c.reported)
        expected << QString::fromStdString(w.work() + "/" + n + "は存在するため変更できませんでした");
    expected << kExecuteDone;
    EXPECT_EQ(Texts(boxes), expected);
    for (const SeenBox& b : boxes)
        EXPECT_TRUE(b.Title == u"Pelkorin"_s && b.Icon == QMessageBox::NoIcon);
    EXPECT_EQ(OnDisk(w.root()), c.after);
    EXPECT_EQ(Entries(w.root().path()), Names{"work"});
    for (const std::string& f : c.folders)
        EXPECT_TRUE(Entries(w.work() + "/" + f).empty()) << f;
    // The list is read again: present names in name order, nothing selected, no new names.
    Names listed;
    for (const auto& [name, content] : c.after)
        listed.push_back(name);
    EXPECT_EQ(RowBytes(w.list("oldfile")), listed);
    EXPECT_EQ(w.list("oldfile")->selectedFlags(), std::vector<bool>(listed.size(), false));
    EXPECT_EQ(w.list("NewFile")->rowCount(), 0);
    EXPECT_EQ(w.counter(), QString::asprintf("%03zu/%03zu", c.select.size(), c.select.size()));
}

INSTANTIATE_TEST_SUITE_P(RenameExecute, ExecuteRows, testing::ValuesIn(ExecuteCases()),
                         RowNames([](const ExecuteCase& c) { return c.label; }));

} // namespace

namespace {
// Each box of the execution names one file: the counter beside it must already show that
// file's number, even though the label is otherwise repainted at most once a frame.
TEST(RenameExecute, ATakenNameBoxShowsThatFilesNumber)
{
    Window w({{"1.jpg", "A"}, {"2.jpg", "B"}, {"3.jpg", "C"}, {"x2.jpg", "D"}});
    w.Apply({.check1 = true, .textvol = "x"});
    w.SelectNames({"1.jpg", "2.jpg", "3.jpg"});
    QStringList countersAtBoxes;
    RunAnsweringBoxes(
        [&] { Find<QPushButton>(w.m(), "Button7")->click(); },
        [&](QMessageBox*) -> QAbstractButton* {
            countersAtBoxes << Find<QLabel>(w.m(), "actlabel")->text();
            return nullptr;
        });
    EXPECT_EQ(countersAtBoxes, (QStringList{u"002/003"_s, u"003/003"_s}));
}
} // namespace
