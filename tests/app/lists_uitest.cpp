// Selecting, moving and sorting the rows of the list of current names, its context menu and
// the joint scrolling of the two name lists, driven through the real window.
#include "filelist/widgets/namelistview.h"
#include "support/localtime.h"
#include "support/rowname.h"
#include "support/mainwindowfixture.h"
#include "support/tempfolder.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QString kTrialDone = QStringLiteral("　　　　　仮実行終了　　　　\r　確認後　実行してください　");
const QString kExecuteDone = QStringLiteral("　　　実行処理が終了しました　　　　");

QStringList Rows(const QAbstractItemModel* model, int column = 0)
{
    QStringList rows;
    for (int r = 0; r < model->rowCount(); ++r)
        rows << model->index(r, column).data().toString();
    return rows;
}

QStringList Numbered(const char* prefix, int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QString::asprintf("%s%04d", prefix, i);
    return names;
}

std::vector<std::pair<std::string, std::string>> Empty(const QStringList& files)
{
    std::vector<std::pair<std::string, std::string>> empty;
    for (const QString& f : files)
        empty.emplace_back(f.toStdString(), "");
    return empty;
}

// The program started on a folder of its own holding the given (empty) files.
struct Window : ProgramInWork {
    explicit Window(const QStringList& files) : ProgramInWork(Empty(files)) {}
    TMain* m = ProgramInWork::m();
    NameListView* oldfile = list("oldfile");
    NameListView* NewFile = list("NewFile");
    QLabel* actlabel = Find<QLabel>(m, "actlabel");

    std::vector<SeenBox> Click(const char* button) const { return Press(button); }
    void Select(const QList<int>& rows) const { SelectRows({rows.begin(), rows.end()}); }
    QList<int> Selected() const
    {
        QList<int> rows;
        for (const QModelIndex& i : oldfile->selectionModel()->selectedRows())
            rows << i.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    // Selects every row and runs the trial run, so NewFile is filled and aligned.
    void TrialRunOnAll()
    {
        oldfile->selectAll();
        const std::vector<SeenBox> boxes = Click("Button6");
        ASSERT_EQ(boxes.size(), 1u);
        ASSERT_EQ(boxes[0].Text, kTrialDone);
        ASSERT_EQ(NewFile->model()->rowCount(), oldfile->model()->rowCount());
    }
};

void ExpectPlainBox(const std::vector<SeenBox>& boxes, const QString& text)
{
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Title, u"Pelkorin"_s);
    EXPECT_EQ(boxes[0].Text, text);
    EXPECT_EQ(boxes[0].Icon, QMessageBox::NoIcon);
    EXPECT_EQ(boxes[0].Buttons.size(), 1);
}

TEST(ListSelection, SelectAllScrollsOnlyOldFileAndClearUnselects)
{
    Window w(Numbered("f", 200));
    w.Select({5});
    ASSERT_NO_FATAL_FAILURE(w.TrialRunOnAll());
    const QString counter = w.actlabel->text();
    for (const char* button : {"Button3", "Button4"}) {
        SCOPED_TRACE(button);
        // The user scrolls both lists down; the button then brings only oldfile back.
        w.oldfile->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        w.oldfile->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        const int top = w.NewFile->topRow();
        ASSERT_GT(top, 0);
        EXPECT_TRUE(w.Click(button).empty());
        EXPECT_EQ(w.Selected().size(), std::string(button) == "Button3" ? 200 : 0);
        EXPECT_EQ(w.oldfile->topRow(), 0);
        EXPECT_EQ(w.NewFile->topRow(), top);
        EXPECT_EQ(w.actlabel->text(), counter);
    }
}

// Which rows move where is the list state's (tests/filelist/liststate_test.cpp); the window
// wires the buttons to it and says when a move is refused.
TEST(ListMoves, ButtonsMoveTheSelectionOrSayItCannotMove)
{
    const QStringList four{u"1"_s, u"2"_s, u"3"_s, u"4"_s};
    Window w(four);
    w.Select({1, 2});
    EXPECT_TRUE(w.Click("Button1").empty());
    EXPECT_EQ(Rows(w.oldfile->model()), (QStringList{u"2"_s, u"3"_s, u"1"_s, u"4"_s}));
    EXPECT_EQ(w.Selected(), (QList<int>{0, 1}));
    ExpectPlainBox(w.Click("Button1"), QStringLiteral("移動できません"));
    EXPECT_EQ(w.Selected(), (QList<int>{0, 1}));
    EXPECT_TRUE(w.Click("Button2").empty());
    EXPECT_EQ(Rows(w.oldfile->model()), four);
    EXPECT_EQ(w.Selected(), (QList<int>{1, 2}));
}

TEST(ListMoves, LongListMovesRowsPastRowThousandAndLeavesNewFileAlone)
{
    const QStringList names = Numbered("r", 1500);
    Window w(names);
    ASSERT_NO_FATAL_FAILURE(w.TrialRunOnAll());
    const QStringList proposed = Rows(w.NewFile->model());
    const QString counter = w.actlabel->text();
    w.Select({1200, 1201, 1400});

    EXPECT_TRUE(w.Click("Button1").empty());
    QStringList up = names;
    up.move(1199, 1201);
    up.move(1399, 1400);
    EXPECT_EQ(Rows(w.oldfile->model()), up);
    EXPECT_EQ(w.Selected(), (QList<int>{1199, 1200, 1399}));

    EXPECT_TRUE(w.Click("Button2").empty());
    EXPECT_EQ(Rows(w.oldfile->model()), names);
    EXPECT_EQ(w.Selected(), (QList<int>{1200, 1201, 1400}));
    EXPECT_EQ(Rows(w.NewFile->model()), proposed);
    EXPECT_EQ(w.actlabel->text(), counter);
}

TEST(ListMoves, EmptyFolderMovesAndSortsDoNothing)
{
    Window w(QStringList{});
    for (const char* button : {"Button1", "Button2"})
        EXPECT_TRUE(w.Click(button).empty()) << button;
    for (const char* entry : {"N4", "N5", "N6", "N15"}) {
        EXPECT_TRUE(w.Trigger(entry).empty()) << entry;
        EXPECT_EQ(w.oldfile->model()->rowCount(), 0) << entry;
        EXPECT_EQ(w.NewFile->model()->rowCount(), 0) << entry;
        EXPECT_EQ(Find<QTreeView>(w.m, "fileList")->model()->rowCount(), 0) << entry;
    }
}

TEST(ListContextMenu, EntriesInOrderAndEachDoesItsButtonsWork)
{
    Window w(Numbered("f", 200));
    auto* menu = Find<QMenu>(w.m, "PopupMenu1");
    ASSERT_NE(menu, nullptr);
    QStringList entries;
    for (QAction* a : menu->actions())
        entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(entries, (QStringList{u"実行"_s, u"仮実行"_s, u"-"_s, u"ファイル全選択"_s, u"ファイル選択解除"_s, u"-"_s,
                                    u"画像表示"_s, u"-"_s, u"ファイル名でソート"_s, u"拡張子でソート"_s,
                                    u"日付でソート"_s, u"撮影日時でソート"_s, u"-"_s, u"ファイル削除"_s}));

    w.oldfile->setTopRow(50);
    EXPECT_TRUE(w.Trigger("N8").empty());
    EXPECT_EQ(w.Selected().size(), 200);
    EXPECT_EQ(w.oldfile->topRow(), 0);
    EXPECT_TRUE(w.Trigger("N9").empty());
    EXPECT_TRUE(w.Selected().isEmpty());

    w.oldfile->selectAll();
    ExpectPlainBox(w.Trigger("N11"), kTrialDone);
    QStringList proposed = Rows(w.NewFile->model());
    ASSERT_EQ(proposed.size(), 200);
    ASSERT_NE(proposed, Rows(w.oldfile->model()));
    ExpectPlainBox(w.Trigger("N10"), kExecuteDone);
    std::vector<std::string> onDisk = w.OnDisk();
    QStringList disk;
    for (const std::string& f : onDisk)
        disk << QString::fromStdString(f);
    proposed.sort();
    EXPECT_EQ(disk, proposed);
}

TEST(ListContextMenu, RightClickKeepsTheSelectionTheMenuActsOn)
{
    Window w(Numbered("f", 6));
    w.Select({1, 2});
    const QPoint onUnselectedRow = w.oldfile->visualRect(w.oldfile->model()->index(4, 0)).center();
    QTest::mouseClick(w.oldfile->viewport(), Qt::RightButton, {}, onUnselectedRow);
    EXPECT_EQ(w.Selected(), (QList<int>{1, 2}));
    QTest::mouseClick(w.oldfile->viewport(), Qt::LeftButton, {}, onUnselectedRow);
    EXPECT_EQ(w.Selected(), (QList<int>{4}));
}

TEST(ListScrolling, UserScrollingCarriesTheOtherListAlong)
{
    Window w(Numbered("f", 200));
    ASSERT_NO_FATAL_FAILURE(w.TrialRunOnAll());
    auto wheelDown = [](NameListView* list) {
        QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list->viewport(), &e);
    };
    struct Step {
        const char* name;
        NameListView* scrolled;
        NameListView* other;
        std::function<void()> act;
    };
    const Step steps[] = {
        {"oldfile bar", w.oldfile, w.NewFile,
         [&] { w.oldfile->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd); }},
        {"NewFile bar", w.NewFile, w.oldfile,
         [&] { w.NewFile->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd); }},
        {"oldfile wheel", w.oldfile, w.NewFile, [&] { wheelDown(w.oldfile); }},
        {"NewFile wheel", w.NewFile, w.oldfile, [&] { wheelDown(w.NewFile); }},
        {"oldfile page key", w.oldfile, w.NewFile,
         [&] {
             w.oldfile->setFocus();
             w.oldfile->setCurrentIndex(w.oldfile->model()->index(w.oldfile->topRow(), 0));
             // The first page key takes the current row to the bottom of the page.
             QTest::keyClick(w.oldfile, Qt::Key_PageDown);
             QTest::keyClick(w.oldfile, Qt::Key_PageDown);
         }},
        {"oldfile arrow keys", w.oldfile, w.NewFile,
         [&] {
             for (int i = 0; i < 40; ++i)
                 QTest::keyClick(w.oldfile, Qt::Key_Down);
         }},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        const int before = s.scrolled->topRow();
        s.act();
        EXPECT_GT(s.scrolled->topRow(), before);
        EXPECT_EQ(s.other->topRow(), s.scrolled->topRow());
    }

    // What the program itself does to one list leaves the other where it is.
    const int top = w.NewFile->topRow();
    w.oldfile->setTopRow(top + 20);
    w.Select({top + 25});
    EXPECT_EQ(w.NewFile->topRow(), top);
    EXPECT_TRUE(w.Click("Button3").empty());
    EXPECT_EQ(w.oldfile->topRow(), 0);
    EXPECT_EQ(w.NewFile->topRow(), top);
}

// After a sort: the listing's names in the new order, nothing selected, the first row at the
// top, NewFile empty and the counter as it was.
void ExpectSorted(Window& w, const char* entry, const QStringList& expected)
{
    SCOPED_TRACE(entry);
    w.Select({1});
    const QString counter = w.actlabel->text();
    EXPECT_TRUE(w.Trigger(entry).empty());
    EXPECT_EQ(Rows(w.oldfile->model()), expected);
    EXPECT_TRUE(w.Selected().isEmpty());
    EXPECT_EQ(w.oldfile->topRow(), 0);
    EXPECT_EQ(w.NewFile->model()->rowCount(), 0);
    EXPECT_EQ(w.actlabel->text(), counter);
}

TEST(ListSorting, ByExtensionThenByNameAfterMoves)
{
    Window w({u"b.JPG"_s, u"a.txt"_s, u"c.jpg"_s, u"readme"_s});
    ASSERT_NO_FATAL_FAILURE(w.TrialRunOnAll());
    ExpectSorted(w, "N5", {u"readme"_s, u"c.jpg"_s, u"b.JPG"_s, u"a.txt"_s});
    const QAbstractItemModel* aid = Find<QTreeView>(w.m, "fileList")->model();
    EXPECT_EQ(Rows(aid, 0), (QStringList{u""_s, u".jpg"_s, u".JPG"_s, u".txt"_s}));
    EXPECT_EQ(Rows(aid, 1), (QStringList{u"00003"_s, u"00002"_s, u"00001"_s, u"00000"_s}));

    w.Select({0, 1});
    EXPECT_TRUE(w.Click("Button2").empty());
    ASSERT_NO_FATAL_FAILURE(w.TrialRunOnAll());
    ExpectSorted(w, "N4", {u"a.txt"_s, u"b.JPG"_s, u"c.jpg"_s, u"readme"_s});
    EXPECT_EQ(aid->rowCount(), 0);
}

void SetTime(const std::string& folder, const char* name, int year, int month, int day, int hour,
             int minute, int second)
{
    std::tm t = LocalTime(year, month, day, hour, minute, second);
    const timespec times[2] = {{std::mktime(&t), 0}, {std::mktime(&t), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (folder + "/" + name).c_str(), times, 0), 0) << name;
}

TEST(ListSorting, ByDateOldestFirstWithUnreadableTimesBeforeAll)
{
    Window w({u"a.txt"_s, u"b.JPG"_s, u"c.jpg"_s, u"d"_s, u"e"_s, u"gone"_s});
    SetTime(w.work(), "a.txt", 2010, 1, 2, 3, 4, 6);
    // Within the same two seconds: equal keys, so name order stays although c is older.
    SetTime(w.work(), "b.JPG", 2001, 5, 5, 12, 0, 11);
    SetTime(w.work(), "c.jpg", 2001, 5, 5, 12, 0, 10);
    SetTime(w.work(), "d", 1975, 1, 1, 0, 0, 0);
    SetTime(w.work(), "e", 2005, 6, 7, 8, 9, 10);
    ASSERT_EQ(std::remove((w.work() + "/gone").c_str()), 0);
    ASSERT_NO_FATAL_FAILURE(w.TrialRunOnAll());

    ExpectSorted(w, "N6", {u"d"_s, u"gone"_s, u"b.JPG"_s, u"c.jpg"_s, u"e"_s, u"a.txt"_s});
    const QStringList keys = Rows(Find<QTreeView>(w.m, "fileList")->model(), 0);
    ASSERT_EQ(keys.size(), 6);
    EXPECT_EQ(keys[0], u"0000000000-1"_s);
    EXPECT_EQ(keys[1], u"0000000000-1"_s);
    EXPECT_EQ(keys[2], keys[3]);
    // 2005-06-07 08:09:10 packed: 25<<25 | 6<<21 | 7<<16 | 8<<11 | 9<<5 | 10/2.
    EXPECT_EQ(keys[4], u"000851919141"_s);
    EXPECT_EQ(Rows(Find<QTreeView>(w.m, "fileList")->model(), 1),
              (QStringList{u"00003"_s, u"00005"_s, u"00001"_s, u"00002"_s, u"00004"_s, u"00000"_s}));
}

TEST(ListSorting, SortsUseTheListingAsLastRead)
{
    Window w({u"a.txt"_s, u"b.txt"_s});
    w.root().Write("work/0new.txt");
    ASSERT_EQ(std::remove((w.work() + "/b.txt").c_str()), 0);
    // b.txt can no longer be examined, so the date sort puts it first.
    ExpectSorted(w, "N4", {u"a.txt"_s, u"b.txt"_s});
    ExpectSorted(w, "N5", {u"a.txt"_s, u"b.txt"_s});
    ExpectSorted(w, "N6", {u"b.txt"_s, u"a.txt"_s});
    EXPECT_TRUE(w.Click("Button11").empty());
    EXPECT_EQ(Rows(w.oldfile->model()), (QStringList{u"0new.txt"_s, u"a.txt"_s}));
}

// The least height a row needs to show whole glyphs of a list's font.
int LineHeight(const QWidget* list)
{
    const QFontMetrics fm(list->font());
    return std::max({fm.height(), fm.lineSpacing(), fm.ascent() + fm.descent() + fm.leading()});
}

TEST(ListRows, EveryRowOfTheThreeListsHoldsAWholeLineOfItsFont)
{
    Window w({QStringLiteral("IMG_0001.JPG"), QStringLiteral("IMG_0002.JPG"), QStringLiteral("my_photo_g.jpg")});
    w.root().MakeFolder("work/sub_folder");
    w.root().MakeFolder("work/zz_folder");
    ASSERT_TRUE(w.Click("Button11").empty());
    w.TrialRunOnAll();
    for (const char* name : {"oldfile", "NewFile", "Dir1"}) {
        SCOPED_TRACE(name);
        auto* list = Find<QAbstractItemView>(w.m, name);
        const int need = LineHeight(list);
        ASSERT_GE(list->model()->rowCount(), 3);
        QRect previous;
        for (int r = 0; r < list->model()->rowCount(); ++r) {
            const QRect rect = list->visualRect(list->model()->index(r, 0));
            EXPECT_GE(rect.height(), need) << "row " << r;
            EXPECT_GE(list->sizeHintForRow(r), need) << "row " << r;
            if (r > 0) {
                EXPECT_GT(rect.top(), previous.bottom()) << "row " << r << " covers the one above";
            }
            previous = rect;
        }
    }
    // The two name lists still line up row by row.
    EXPECT_EQ(w.oldfile->visualRect(w.oldfile->model()->index(2, 0)).top(),
              w.NewFile->visualRect(w.NewFile->model()->index(2, 0)).top());
}

TEST(ListRows, AnUnderscoreIsDrawnSolidWithinItsRow)
{
    // " " sorts before "_": row 0 has the space, row 1 the underscore.
    Window w({QStringLiteral("IMG_0001.JPG"), QStringLiteral("IMG 0001.JPG")});
    for (const char* name : {"oldfile", "Dir1"}) {
        SCOPED_TRACE(name);
        auto* list = Find<QAbstractItemView>(w.m, name);
        QModelIndex space = list->model()->index(0, 0), underscore = list->model()->index(1, 0);
        if (std::string(name) == "Dir1") {
            w.root().MakeFolder("work/IMG 0001");
            w.root().MakeFolder("work/IMG_0001");
            ASSERT_TRUE(w.Click("Button11").empty());
            const int last = list->model()->rowCount() - 1;
            space = list->model()->index(last - 1, 0);
            underscore = list->model()->index(last, 0);
        }
        ASSERT_TRUE(space.data().toString().startsWith(QStringLiteral("IMG 0001")));
        ASSERT_TRUE(underscore.data().toString().startsWith(QStringLiteral("IMG_0001")));
        const QImage shot = list->viewport()->grab().toImage();
        const QRect a = list->visualRect(space), b = list->visualRect(underscore);
        ASSERT_EQ(a.size(), b.size());
        // Dark pixels that the underscore adds to the row, inside the row itself.
        int added = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (qGray(shot.pixel(b.x() + x, b.y() + y)) < 128 && qGray(shot.pixel(a.x() + x, a.y() + y)) >= 128)
                    ++added;
        EXPECT_GE(added, 3);
    }
}

TEST(Text2, TakesAtMostSixCharacters)
{
    // A base number longer than six characters in the settings file, then typing.
    TempFolder program;
    std::map<int, std::string> lines = {{2, ""}, {4, "on"}, {6, "on"}, {8, "on"}, {10, "3"},
                                        {12, "off"}, {14, "off"}, {16, "off"}, {18, ""},
                                        {20, "0"}, {22, "0"}, {24, "1234567"}};
    std::string settings = "Pelkorin Ver0.9\r\n";
    for (int n = 1; n < 25; ++n)
        settings += (n % 2 ? "[" + std::to_string(n) + "]" : lines[n]) + "\r\n";
    program.Write("Pelkorin.ini", settings);
    StartedProgram p = StartProgram(program.path());
    ASSERT_TRUE(p.startupBoxes.empty());
    auto* text2 = Find<QLineEdit>(p.main(), "text2");
    ASSERT_TRUE(text2->isEnabled());
    // The stored number shows whole; typing cannot lengthen it, deleting shortens it.
    EXPECT_EQ(text2->text(), QStringLiteral("1234567"));
    text2->setFocus();
    text2->end(false);
    QTest::keyClicks(text2, QStringLiteral("89"));
    EXPECT_EQ(text2->text(), QStringLiteral("1234567"));
    QTest::keyClick(text2, Qt::Key_Backspace);
    EXPECT_EQ(text2->text(), QStringLiteral("123456"));
    QTest::keyClicks(text2, QStringLiteral("8"));
    EXPECT_EQ(text2->text(), QStringLiteral("123456"));

    // Eight characters typed over the whole text.
    text2->selectAll();
    QTest::keyClicks(text2, QStringLiteral("98765432"));
    EXPECT_EQ(text2->text(), QStringLiteral("987654"));
}

} // namespace
