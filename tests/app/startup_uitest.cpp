// Start-up of the main window on a program folder of the test's own, and the layout facts
// a user sees: captions, the context menu, the Tab key and the splitter.
#include "filelist/widgets/namelistview.h"
#include "app/splitterstrip.h"
#include "support/mainwindowfixture.h"
#include "support/rowname.h"
#include "support/tempfolder.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <map>

using namespace Qt::StringLiterals;

// Readable QString values in failure messages.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

const QPoint kDesignPosition(189, 146);

QStringList Rows(NameListView* list)
{
    QStringList rows;
    for (int r = 0; r < list->model()->rowCount(); ++r)
        rows << list->model()->index(r, 0).data().toString();
    return rows;
}

QString Text(const std::string& s) { return QString::fromStdString(s); }

// A settings file as the options dialog saves it, with some values replaced (by line number).
std::string SettingsText(const std::map<int, std::string>& values,
                         const std::string& marker = "Pelkorin Ver0.9", const char* eol = "\r\n")
{
    std::map<int, std::string> lines = {{4, "on"}, {6, "on"}, {8, "off"}, {10, "3"}, {12, "off"},
                                        {14, "off"}, {16, "off"}, {20, "0"}, {22, "0"}, {24, "0"}};
    for (const auto& [n, v] : values)
        lines[n] = v;
    std::string text = marker + eol;
    for (int n = 1; n < 25; ++n)
        text += (n % 2 ? "[" + std::to_string(n) + "]" : lines[n]) + eol;
    return text;
}

// A program folder with a start folder "start" holding one file.
struct ProgramWithStart {
    TempFolder program;
    std::string start = program / "start";
    ProgramWithStart()
    {
        program.MakeFolder("start");
        program.Write("start/s.jpg");
    }
    void Settings(const std::string& text) const { program.Write("Pelkorin.ini", text); }
};

QString Dir1Folder(TMain* m) { return Find(m, "Dir1")->property("directory").toString(); }

TEST(Startup, WithoutSettingsFileOpensProgramFolderWithDefaults)
{
    TempFolder program;
    program.Write("b.jpg");
    program.Write("A.jpg");
    program.Write("c.jpg");
    program.Write(".hidden");
    program.MakeFolder("sub");
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    EXPECT_TRUE(p.startupBoxes.empty());
    EXPECT_EQ(m->pos(), QPoint(0, 0));
    EXPECT_EQ(m->property("ProgramFolder").toString(), QString::fromStdString(program.path()));
    EXPECT_EQ(Rows(Find<NameListView>(m, "oldfile")), (QStringList{u"A.jpg"_s, u"b.jpg"_s, u"c.jpg"_s}));
    EXPECT_TRUE(Find<QCheckBox>(m, "Check1")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(m, "Check2")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(m, "Check3")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(m, "Check4")->isChecked());
    EXPECT_EQ(Find<QLineEdit>(m, "edit2")->text(), u"3"_s);
    EXPECT_EQ(Find<QLineEdit>(m, "Edit4")->text(), u"jpg"_s);
    EXPECT_EQ(Find<QLineEdit>(m, "text2")->text(), u"0"_s);
    EXPECT_TRUE(Find<QLineEdit>(m, "textvol")->isEnabled());
    EXPECT_TRUE(Find<QSpinBox>(m, "UpDown1")->isEnabled());
    EXPECT_FALSE(Find<QLineEdit>(m, "text2")->isEnabled());
    EXPECT_FALSE(Find<QLineEdit>(m, "Edit4")->isEnabled());
    EXPECT_EQ(m->property("ExtLowerCase").toString(), u"off"_s);
    EXPECT_EQ(m->property("ViewerPath").toString(), u""_s);
}

TEST(Startup, Ver09FileAppliesEveryValue)
{
    ProgramWithStart f;
    f.Settings(SettingsText({{2, f.start}, {4, "off"}, {6, "off"}, {8, "on"},
                                                {10, "7"}, {12, "on"}, {14, "on"}, {16, "on"},
                                                {18, "/usr/bin/viewer"}, {20, "40"}, {22, "25"},
                                                {24, "123"}}));
    StartedProgram p = StartProgram(f.program.path());
    TMain* m = p.main();
    EXPECT_TRUE(p.startupBoxes.empty());
    EXPECT_EQ(m->pos(), QPoint(40, 25)); // left from line 20, top from line 22
    EXPECT_EQ(m->property("StartFolder").toString(), Text(f.start));
    EXPECT_EQ(Dir1Folder(m), Text(f.start));
    EXPECT_EQ(Rows(Find<NameListView>(m, "oldfile")), QStringList{u"s.jpg"_s});
    EXPECT_FALSE(Find<QCheckBox>(m, "Check1")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(m, "Check2")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(m, "Check3")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(m, "Check4")->isChecked());
    EXPECT_EQ(Find<QSpinBox>(m, "UpDown1")->value(), 7);
    EXPECT_EQ(Find<QLineEdit>(m, "edit2")->text(), u"7"_s);
    EXPECT_EQ(m->property("ExtLowerCase").toString(), u"on"_s);
    EXPECT_EQ(m->property("JpegToJpg").toString(), u"on"_s);
    EXPECT_EQ(m->property("ViewerPath").toString(), u"/usr/bin/viewer"_s);
    EXPECT_EQ(Find<QLineEdit>(m, "text2")->text(), u"123"_s);
    EXPECT_EQ(m->property("SettingsLines").toStringList().value(24), u"123"_s);
    EXPECT_FALSE(Find<QLineEdit>(m, "textvol")->isEnabled());
    EXPECT_FALSE(Find<QLineEdit>(m, "edit2")->isEnabled());
    EXPECT_FALSE(Find<QSpinBox>(m, "UpDown1")->isEnabled());
    EXPECT_TRUE(Find<QLineEdit>(m, "text2")->isEnabled());
    EXPECT_TRUE(Find<QLineEdit>(m, "Edit4")->isEnabled());
    EXPECT_TRUE(Find(m, "Image1")->isHidden());
    EXPECT_FALSE(Find(m, "Image1")->isEnabled());
}

TEST(Startup, Ver07FileLeavesBaseNumberAlone)
{
    // Lines 23 and 24 are present but belong to the newer format only.
    TempFolder program;
    program.Write("Pelkorin.ini",
                  SettingsText({{8, "on"}, {10, "5"}, {20, "40"}, {22, "25"}, {24, "77"}}, "Pelkorin Ver0.7"));
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    EXPECT_TRUE(p.startupBoxes.empty());
    EXPECT_EQ(m->pos(), QPoint(40, 25));
    EXPECT_TRUE(Find<QCheckBox>(m, "Check3")->isChecked());
    EXPECT_EQ(Find<QLineEdit>(m, "edit2")->text(), u"5"_s);
    EXPECT_EQ(Find<QLineEdit>(m, "text2")->text(), u"0"_s);
    const QStringList lines = m->property("SettingsLines").toStringList();
    ASSERT_EQ(lines.size(), 25);
    EXPECT_EQ(lines[10], u"5"_s);
    EXPECT_EQ(lines[23], u""_s);
    EXPECT_EQ(lines[24], u""_s);
}

TEST(Startup, BadNumberShowsErrorBoxAndStopsStartup)
{
    const struct { int line; std::string text; bool startFolderOpened; } cases[] = {
        {10, "abc", false}, // before the start folder
        {20, "xyz", true},  // after it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ProgramWithStart f;
        f.Settings(SettingsText({{2, f.start}, {8, "on"}, {c.line, c.text}}));
        StartedProgram p = StartProgram(f.program.path());
        TMain* m = p.main();
        ASSERT_EQ(p.startupBoxes.size(), 1u);
        EXPECT_EQ(p.startupBoxes[0].Icon, QMessageBox::Critical);
        EXPECT_EQ(p.startupBoxes[0].Title, u"Pelkorin"_s);
        EXPECT_EQ(p.startupBoxes[0].Text, u"'"_s + Text(c.text) + u"' は整数ではありません."_s);
        EXPECT_EQ(Dir1Folder(m), Text(c.startFolderOpened ? f.start : f.program.path()));
        EXPECT_EQ(m->pos(), kDesignPosition);
        EXPECT_TRUE(Find<QCheckBox>(m, "Check3")->isChecked()); // applied before the failure
        // The preview picture keeps its design state: shown, enabled, in its design box.
        auto* picture = Find<QLabel>(Find(m, "Panel4"), "Image1");
        EXPECT_EQ(picture->geometry(), QRect(3, 3, 80, 80));
        EXPECT_FALSE(picture->isHidden());
        EXPECT_TRUE(picture->isEnabled());
    }
}

TEST(Startup, RunawaySettingsLineIsReportedInABoxOfSensibleSize)
{
    ProgramWithStart f;
    const std::string huge(4 * 1024 * 1024, '7');
    f.Settings(SettingsText({{2, huge}, {10, huge + "x"}}));
    StartedProgram p = StartProgram(f.program.path());
    ASSERT_EQ(p.startupBoxes.size(), 1u);
    const QString& text = p.startupBoxes[0].Text;
    EXPECT_LT(text.size(), 4000);
    EXPECT_TRUE(text.startsWith(u"'7777"_s)) << text.left(20).toStdString();
    EXPECT_TRUE(text.endsWith(u"7x' は整数ではありません."_s));
    EXPECT_EQ(Dir1Folder(p.main()), Text(f.program.path()));
}

TEST(Startup, DigitCountIsClampedToSpinRange)
{
    const struct { const char* line10; int count; } cases[] = {{"0", 1}, {"100", 9}, {"-4", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line10);
        TempFolder program;
        program.Write("Pelkorin.ini", SettingsText({{10, c.line10}}));
        StartedProgram p = StartProgram(program.path());
        EXPECT_TRUE(p.startupBoxes.empty());
        EXPECT_EQ(Find<QSpinBox>(p.main(), "UpDown1")->value(), c.count);
        EXPECT_EQ(Find<QLineEdit>(p.main(), "edit2")->text(), QString::number(c.count));
    }
}

TEST(Startup, MissingStartFolderShowsErrorAndKeepsProgramFolder)
{
    TempFolder program;
    const std::string gone = program / "gone";
    program.Write("Pelkorin.ini", SettingsText({{2, gone}, {8, "on"}, {20, "40"}, {22, "25"}}));
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    ASSERT_EQ(p.startupBoxes.size(), 1u);
    EXPECT_EQ(p.startupBoxes[0].Icon, QMessageBox::Critical);
    EXPECT_EQ(p.startupBoxes[0].Title, u"Pelkorin"_s);
    EXPECT_TRUE(p.startupBoxes[0].Text.contains(Text(gone))) << p.startupBoxes[0].Text.toStdString();
    EXPECT_TRUE(p.startupBoxes[0].Text.endsWith(u'.'));
    EXPECT_EQ(Dir1Folder(m), Text(program.path()));
    EXPECT_EQ(m->pos(), kDesignPosition);
    EXPECT_TRUE(Find<QCheckBox>(m, "Check3")->isChecked());
    // The later steps never ran.
    EXPECT_FALSE(Find(m, "Image1")->isHidden());
    EXPECT_TRUE(Find(m, "Image1")->isEnabled());
}

TEST(Startup, UnrecognisedMarkerAppliesNothing)
{
    const std::map<int, std::string> values = {{8, "on"}, {10, "6"}, {20, "40"}, {24, "55"}};
    const std::string files[] = {
        SettingsText(values, "pelkorin Ver0.9"),
        SettingsText(values, "Pelkorin ver0.7"),
        SettingsText(values, "Pelkorin Ver0.9 "),
        SettingsText(values, "Pelkorin Ver0.9", "\n"), // LF alone ends no line
    };
    for (const std::string& file : files) {
        SCOPED_TRACE(file.substr(0, 16));
        TempFolder program;
        program.Write("Pelkorin.ini", file);
        StartedProgram p = StartProgram(program.path());
        TMain* m = p.main();
        EXPECT_TRUE(p.startupBoxes.empty());
        EXPECT_EQ(m->pos(), QPoint(0, 0));
        EXPECT_FALSE(Find<QCheckBox>(m, "Check3")->isChecked());
        EXPECT_EQ(Find<QLineEdit>(m, "edit2")->text(), u"3"_s);
        EXPECT_EQ(Find<QLineEdit>(m, "text2")->text(), u"0"_s);
        const QStringList lines = m->property("SettingsLines").toStringList();
        ASSERT_EQ(lines.size(), 25);
        EXPECT_EQ(lines.mid(1).join(u""_s), u""_s);
    }
}

TEST(MainWindowLayout, Title)
{
    TempFolder program;
    StartedProgram p = StartProgram(program.path());
    EXPECT_EQ(p.main()->windowTitle(), u"Pelkorin"_s);
}

struct CaptionCase {
    const char* name;
    const char* caption;
    const char* hint;
};

class CaptionRows : public testing::TestWithParam<CaptionCase> {};

TEST_P(CaptionRows, CaptionsAndHints)
{
    const CaptionCase& c = GetParam();
    TempFolder program;
    StartedProgram p = StartProgram(program.path());
    QWidget* w = Find(p.main(), c.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->property("text").toString(), QString::fromUtf8(c.caption)) << c.name;
    EXPECT_EQ(w->toolTip(), QString::fromUtf8(c.hint)) << c.name;
}

const CaptionCase kCaptionCases[] = {
    {"Button6", "仮実行(&P)", "実行したときの確認ができます。"},
    {"Button7", "実行(&X)", "設定された条件で、ファイル名を変更します"},
    {"Button8", "File削除(&D)", "ゴミ箱に入らず直接削除されます。"},
    {"Button5", "次のﾌｫﾙﾀﾞ(&N)", ""},
    {"Button11", "ﾌｧｲﾙ更新", ""},
    {"textvol", "", "文字列を変更するときに入力します"},
    {"text2", "0", "数字を連番にするときの最初の番号です"},
    {"Label4", "現在のﾌｧｲﾙﾈｰﾑ", ""},
    {"Label2", "変更後のﾌｧｲﾙﾈｰﾑ", ""},
    {"Check3", "数字を連番に", ""},
};

INSTANTIATE_TEST_SUITE_P(MainWindowLayout, CaptionRows, testing::ValuesIn(kCaptionCases),
                         RowNames([](const CaptionCase& c) { return c.name; }));

TEST(MainWindowLayout, ContextMenuEntriesInOrder)
{
    TempFolder program;
    StartedProgram p = StartProgram(program.path());
    QStringList entries;
    for (QAction* a : Find<QMenu>(p.main(), "PopupMenu1")->actions())
        entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(entries, (QStringList{u"実行"_s, u"仮実行"_s, u"-"_s, u"ファイル全選択"_s, u"ファイル選択解除"_s, u"-"_s,
                                    u"画像表示"_s, u"-"_s, u"ファイル名でソート"_s, u"拡張子でソート"_s,
                                    u"日付でソート"_s, u"撮影日時でソート"_s, u"-"_s, u"ファイル削除"_s}));
}

TEST(MainWindowLayout, OnlyRunButtonsAreTabStops)
{
    TempFolder program;
    StartedProgram p = StartProgram(program.path());
    // Walk the focus chain once round, keeping what the Tab key would stop at.
    QWidget* start = Find(p.main(), "Button7");
    QStringList stops;
    QWidget* w = start;
    do {
        w = w->nextInFocusChain();
        if (w->window() == p.main() && w->isVisible() && w->isEnabled()
            && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus)
            stops << w->objectName();
    } while (w != start && stops.size() < 100);
    EXPECT_EQ(stops, (QStringList{u"Button6"_s, u"Button8"_s, u"Button7"_s}));
}

// The strip's controls stand where the splitter is, and the lists meet it.
void ExpectBesideSplitter(TMain* m)
{
    const QWidget* splitter = Find(m, "Splitter1");
    const int x = splitter->x();
    for (const char* name : {"Button1", "Button2", "Button9", "Button11"})
        EXPECT_EQ(Find(m, name)->x(), x + 8) << name;
    EXPECT_EQ(Find(m, "Panel4")->x(), x + 3);
    EXPECT_EQ(Find(m, "Label2")->x(), x + splitter->width() + 7);
    EXPECT_EQ(Find(m, "oldfile")->width(), x);
    EXPECT_EQ(Find(m, "NewFile")->x(), x + splitter->width());
    EXPECT_EQ(Find(m, "NewFile")->geometry().right(), m->centralWidget()->width() - 1);
}

TEST(MainWindowLayout, SplitterMovesItsControlsAndKeepsBothSidesWide)
{
    TempFolder program;
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    const int width = m->centralWidget()->width();
    const int splitterWidth = Find(m, "Splitter1")->width();
    const struct { int dx; int x; } cases[] = {
        {50, 276}, {-1000, 30}, {1000, width - splitterWidth - 30}, {-20, width - splitterWidth - 50}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dx);
        emit Find<SplitterStrip>(m, "Splitter1")->dragged(c.dx); // as a drag by the user
        EXPECT_EQ(Find(m, "Splitter1")->x(), c.x);
        ExpectBesideSplitter(m);
    }
}

TEST(MainWindowLayout, ResizeKeepsControlsBesideSplitter)
{
    TempFolder program;
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    emit Find<SplitterStrip>(m, "Splitter1")->dragged(40);
    for (const QSize size : {QSize(700, 500), QSize(200, 400), QSize(489, 413)}) {
        SCOPED_TRACE(size.width());
        m->resize(size);
        QApplication::processEvents();
        ASSERT_EQ(m->width(), size.width());
        ExpectBesideSplitter(m);
        EXPECT_GE(Find(m, "NewFile")->width(), 30);
        EXPECT_GE(Find(m, "oldfile")->width(), 30);
    }
}

} // namespace
