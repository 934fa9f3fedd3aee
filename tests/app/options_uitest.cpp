// The options dialog driven while it is modal: what it shows, what "登録" applies to the main
// window and writes to Pelkorin.ini, the track bars, cancelling, and the failures.
#include "support/dialogdriving.h"
#include "support/tempfolder.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

using namespace Qt::StringLiterals;

// Readable QString values in failure messages.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

const char* const kDialogBoxes[] = {"Check0", "Check1", "Check2", "Check3", "Check4", "Check5"};

bool Checked(QWidget* w, const char* name) { return Find<QCheckBox>(w, name)->isChecked(); }
QString TextOf(QWidget* w, const char* name) { return Find<QLineEdit>(w, name)->text(); }
QString Dir1Folder(TMain* m) { return Find(m, "Dir1")->property("directory").toString(); }

void ShowPage(QWidget* dialog, const char* page)
{
    Find<QTabWidget>(dialog, "PageControl1")->setCurrentWidget(Find(dialog, page));
}

// Clicks a check box on its page, as the user does.
void ClickBox(QWidget* dialog, const char* page, const char* box)
{
    ShowPage(dialog, page);
    Find<QCheckBox>(dialog, box)->click();
}

void Press(QWidget* dialog, const char* button) { Find<QPushButton>(dialog, button)->click(); }

void Keys(QWidget* dialog, const char* bar, Qt::Key key, int times = 1)
{
    ShowPage(dialog, "TabSheet3");
    for (int i = 0; i < times; ++i)
        QTest::keyClick(Find<QSlider>(dialog, bar), key);
}

void ExpectClean(const ModalRun& run, std::size_t steps)
{
    EXPECT_EQ(run.StepsDone, steps);
    EXPECT_TRUE(run.Unexpected.isEmpty()) << run.Unexpected.join(u", "_s).toStdString();
}

TEST(Options, WithoutSettingsFileAllBoxesStartUncheckedAndSavingWritesOff)
{
    TempFolder program;
    program.Write("a.jpg");
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    ASSERT_TRUE(Checked(m, "Check1"));
    ASSERT_TRUE(Checked(m, "Check2"));

    std::vector<bool> shown;
    ModalRun run = WithOptions(m, {OptionStep([&](QWidget* d) {
        for (const char* box : kDialogBoxes)
            shown.push_back(Checked(d, box));
        Press(d, "optOK");
    })});
    ExpectClean(run, 1);
    EXPECT_EQ(shown, std::vector<bool>(6, false));
    EXPECT_FALSE(Checked(m, "Check1"));
    EXPECT_FALSE(Checked(m, "Check2"));
    // Their click handlers ran: the inputs they govern are off now.
    EXPECT_FALSE(Find<QLineEdit>(m, "textvol")->isEnabled());
    EXPECT_FALSE(Find<QSpinBox>(m, "UpDown1")->isEnabled());
    EXPECT_EQ(program.Read("Pelkorin.ini"), ExpectedSettingsFile({}));
    EXPECT_FALSE(p.windows.Option->isVisible());
}

TEST(Options, OpensFilledFromTheSettingsAndTheMainWindow)
{
    TempFolder program;
    program.MakeFolder("start");
    program.Write("Pelkorin.ini",
                  SettingsFileWith({{2, program / "start"}, {4, "on"}, {6, "off"}, {8, "off"},
                                    {10, "7"}, {12, "on"}, {14, "off"}, {16, "on"},
                                    {18, "/usr/bin/viewer"}, {20, "40"}, {22, "25"}, {24, "123"}}));
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    TOption* option = p.windows.Option.get();
    ASSERT_EQ(m->pos(), QPoint(40, 25));
    EXPECT_EQ(option->windowTitle(), u"Option"_s);
    EXPECT_EQ(option->size(), QSize(521, 246));
    EXPECT_EQ(option->pos(), QPoint(40 + 50, 25 + 95));
    EXPECT_EQ(Find<QLabel>(option, "PanelTitle")->text(), u"起動オプション設定"_s);

    auto* pages = Find<QTabWidget>(option, "PageControl1");
    QStringList names, captions;
    for (int i = 0; i < pages->count(); ++i) {
        names << pages->widget(i)->objectName();
        captions << pages->tabText(i);
    }
    EXPECT_EQ(names, (QStringList{u"TabSheet1"_s, u"TabSheet2"_s, u"TabSheet5"_s, u"TabSheet3"_s,
                                  u"TabSheet4"_s}));
    EXPECT_EQ(captions, (QStringList{u"起動フォルダ"_s, u"モード設定"_s, u"拡張子設定"_s,
                                     u"表示位置"_s, u"外部ビュアー"_s}));
    EXPECT_EQ(pages->currentIndex(), 0);

    EXPECT_EQ(TextOf(option, "Edit1"), FromUtf8(program / "start"));
    EXPECT_EQ(TextOf(option, "Edit3"), u"/usr/bin/viewer"_s);
    EXPECT_EQ(TextOf(option, "text2"), u"123"_s);
    EXPECT_EQ(Find<QSpinBox>(option, "UpDown1")->value(), 7);
    EXPECT_EQ(Find<QSpinBox>(option, "UpDown1")->maximum(), 100);
    EXPECT_EQ(Find<QSpinBox>(option, "UpDown1")->minimum(), 0);
    EXPECT_EQ(TextOf(option, "Edit2"), u"7"_s);
    // Check0, Check1, Check2 from lines 12, 14, 16; Check3, Check4, Check5 from 4, 6, 8.
    std::vector<bool> boxes;
    for (const char* box : kDialogBoxes)
        boxes.push_back(Checked(option, box));
    EXPECT_EQ(boxes, (std::vector<bool>{true, false, true, true, false, false}));
    EXPECT_TRUE(Checked(option, "CheckBox2"));
    for (const char* control : {"GroupBox2", "Edit4", "Edit5", "HBar", "VBar"})
        EXPECT_FALSE(Find(option, control)->isEnabled()) << control;
    EXPECT_TRUE(Find(option, "Label6")->isHidden());
    EXPECT_TRUE(Find(option, "text2")->isHidden());

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(Find<QSlider>(option, "HBar")->maximum(), screen.width() - 300);
    EXPECT_EQ(Find<QSlider>(option, "VBar")->maximum(), screen.height() - 200);

    ModalRun run = WithOptions(m, {OptionStep([&](QWidget* d) {
        EXPECT_EQ(TextOf(d, "Edit4"), u"40"_s);
        EXPECT_EQ(TextOf(d, "Edit5"), u"25"_s);
        ClickBox(d, "TabSheet2", "Check5");
        EXPECT_FALSE(Find(d, "Label6")->isHidden());
        EXPECT_FALSE(Find(d, "text2")->isHidden());
        // Edit2 follows "文字列を変更する".
        EXPECT_TRUE(Find(d, "Edit2")->isEnabled());
        Find<QCheckBox>(d, "Check3")->click();
        EXPECT_FALSE(Find(d, "Edit2")->isEnabled());
        Find<QSpinBox>(d, "UpDown1")->stepBy(-2);
        EXPECT_EQ(TextOf(d, "Edit2"), u"5"_s);
        ClickBox(d, "TabSheet3", "CheckBox2");
        for (const char* control : {"GroupBox2", "Edit4", "Edit5", "HBar", "VBar"})
            EXPECT_TRUE(Find(d, control)->isEnabled()) << control;
        Press(d, "optCansel");
    })});
    ExpectClean(run, 1);
    EXPECT_EQ(m->pos(), QPoint(40, 25)); // setting the bars on opening moved nothing
}

TEST(Options, SavingWritesEveryValueAndAppliesAllButTheBaseNumber)
{
    TempFolder program;
    program.MakeFolder("start");
    program.MakeFolder("start/other");
    program.Write("start/other/o.jpg");
    program.Write("Pelkorin.ini",
                  SettingsFileWith({{2, program / "start"}, {4, "on"}, {6, "on"}, {8, "on"},
                                    {10, "7"}, {18, "/usr/bin/viewer"}, {20, "40"}, {22, "25"},
                                    {24, "123"}}));
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    const std::string other = program / "start/other";

    std::vector<ModalStep> steps = ChooseStartFolder(&other);
    steps.push_back(OptionStep([&](QWidget* d) {
        EXPECT_EQ(TextOf(d, "Edit1"), FromUtf8(other));
        ClickBox(d, "TabSheet2", "Check4");                  // pad digits off
        Find<QSpinBox>(d, "UpDown1")->stepBy(5);            // 12: more than the main spin holds
        QTest::keyClicks(Find<QLineEdit>(d, "text2"), u"4567"_s); // six typed characters at most
        ClickBox(d, "TabSheet5", "Check0");                 // lower-case extension on
        ClickBox(d, "TabSheet5", "Check2");                 // change extension on
        ShowPage(d, "TabSheet4");
        Press(d, "Button3");                                // the associated program
        Press(d, "optOK");
    }));
    ModalRun run = WithOptions(m, std::move(steps));
    ExpectClean(run, 3);

    EXPECT_EQ(program.Read("Pelkorin.ini"),
              ExpectedSettingsFile({{2, other}, {4, "on"}, {6, "off"}, {8, "on"}, {10, "12"},
                                    {12, "on"}, {16, "on"}, {18, ""}, {20, "40"}, {22, "25"},
                                    {24, "123456"}}));
    EXPECT_TRUE(Checked(m, "Check1"));
    EXPECT_FALSE(Checked(m, "Check2"));
    EXPECT_TRUE(Checked(m, "Check3"));
    EXPECT_TRUE(Checked(m, "Check4"));
    EXPECT_TRUE(Find(m, "Edit4")->isEnabled()); // Check4's click handler ran
    EXPECT_EQ(Find<QSpinBox>(m, "UpDown1")->value(), 9);
    EXPECT_EQ(TextOf(m, "edit2"), u"9"_s);
    EXPECT_EQ(TextOf(m, "text2"), u"123"_s); // waits for the next start
    EXPECT_EQ(m->property("ExtLowerCase").toString(), u"on"_s);
    EXPECT_EQ(m->property("JpegToJpg").toString(), u"off"_s);
    EXPECT_EQ(m->property("ViewerPath").toString(), QString());
    EXPECT_EQ(Dir1Folder(m), FromUtf8(other));
    EXPECT_EQ(m->pos(), QPoint(40, 25));
    // The settings lines read at start-up stay as they were.
    EXPECT_EQ(m->property("SettingsLines").toStringList().value(10), u"7"_s);

    // The dialog keeps what the user set, the digit count included.
    TOption* option = p.windows.Option.get();
    EXPECT_EQ(Find<QSpinBox>(option, "UpDown1")->value(), 12);
    EXPECT_EQ(TextOf(option, "Edit2"), u"12"_s);

    // The next start applies it all, the base number too.
    Windows again = CreateWindows(program.path());
    EXPECT_EQ(Find<QLineEdit>(again.Main.get(), "text2")->text(), u"123456"_s);
    EXPECT_EQ(Find<QSpinBox>(again.Main.get(), "UpDown1")->value(), 9);
    EXPECT_EQ(Dir1Folder(again.Main.get()), FromUtf8(other));
}

TEST(Options, TrackBarsMoveTheMainWindowAtOnceAndCancelLeavesItThere)
{
    TempFolder program;
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    ASSERT_EQ(m->pos(), QPoint(0, 0));

    ModalRun run = WithOptions(m, {OptionStep([&](QWidget* d) {
        Keys(d, "HBar", Qt::Key_PageUp); // disabled while the actual position is saved
        EXPECT_EQ(m->pos(), QPoint(0, 0));
        ClickBox(d, "TabSheet3", "CheckBox2");
        Keys(d, "HBar", Qt::Key_PageUp, 3);
        EXPECT_EQ(m->pos(), QPoint(30, 0));
        EXPECT_EQ(TextOf(d, "Edit4"), u"30"_s);
        Keys(d, "VBar", Qt::Key_Right, 2);
        EXPECT_EQ(m->pos(), QPoint(30, 2));
        EXPECT_EQ(TextOf(d, "Edit5"), u"2"_s);
        Press(d, "optCansel");
    })});
    ExpectClean(run, 1);
    EXPECT_EQ(m->pos(), QPoint(30, 2));
    EXPECT_FALSE(program.Exists("Pelkorin.ini"));
}

TEST(Options, SavedPositionIsTheActualOneOrTheTrackBars)
{
    TempFolder program;
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    TOption* option = p.windows.Option.get();
    const int hMax = Find<QSlider>(option, "HBar")->maximum();
    const int vMax = Find<QSlider>(option, "VBar")->maximum();
    m->move(-30, vMax + 100); // outside both bars' ranges
    QApplication::processEvents();
    const QPoint at = m->pos(); // the platform may nudge a window partly off the screen
    ASSERT_LT(at.x(), 0);

    ModalRun run = WithOptions(m, {OptionStep([&](QWidget* d) {
        EXPECT_EQ(TextOf(d, "Edit4"), u"0"_s);
        EXPECT_EQ(TextOf(d, "Edit5"), QString::number(vMax));
        Press(d, "optOK");
    })});
    ExpectClean(run, 1);
    EXPECT_EQ(program.Read("Pelkorin.ini"),
              ExpectedSettingsFile({{20, std::to_string(at.x())}, {22, std::to_string(at.y())}}));
    EXPECT_EQ(m->pos(), at);

    // Unchecked, the bars' positions are saved and applied.
    run = WithOptions(m, {OptionStep([&](QWidget* d) {
        ClickBox(d, "TabSheet3", "CheckBox2");
        Keys(d, "HBar", Qt::Key_End);
        Keys(d, "VBar", Qt::Key_Home);
        m->move(7, 8); // wherever the window is now, the bars count
        Press(d, "optOK");
    })});
    ExpectClean(run, 1);
    EXPECT_EQ(program.Read("Pelkorin.ini"),
              ExpectedSettingsFile({{20, std::to_string(hMax)}, {22, "0"}}));
    EXPECT_EQ(m->pos(), QPoint(hMax, 0));
}

TEST(Options, CancelledChangesShowAgainButAreNotApplied)
{
    TempFolder program;
    const std::string settings = SettingsFileWith({{4, "on"}, {6, "on"}, {10, "4"},
                                                   {18, "/usr/bin/viewer"}});
    program.Write("Pelkorin.ini", settings);
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();

    auto change = [&](QWidget* d) {
        ClickBox(d, "TabSheet2", "Check3");
        Find<QSpinBox>(d, "UpDown1")->stepBy(2);
        ClickBox(d, "TabSheet5", "Check1");
        ShowPage(d, "TabSheet4");
        Press(d, "Button3");
    };
    auto shown = [&](QWidget* d) {
        EXPECT_FALSE(Checked(d, "Check3"));
        EXPECT_TRUE(Checked(d, "Check1"));
        EXPECT_EQ(Find<QSpinBox>(d, "UpDown1")->value(), 6);
        EXPECT_EQ(TextOf(d, "Edit2"), u"6"_s);
        EXPECT_EQ(TextOf(d, "Edit3"), QString());
        EXPECT_EQ(Find<QTabWidget>(d, "PageControl1")->currentWidget()->objectName(), u"TabSheet4"_s);
    };
    auto unchanged = [&] {
        EXPECT_TRUE(Checked(m, "Check1"));
        EXPECT_EQ(Find<QSpinBox>(m, "UpDown1")->value(), 4);
        EXPECT_EQ(m->property("JpegToJpg").toString(), u"off"_s);
        EXPECT_EQ(m->property("ViewerPath").toString(), u"/usr/bin/viewer"_s);
        EXPECT_EQ(program.Read("Pelkorin.ini"), settings);
    };

    ModalRun run = WithOptions(m, {OptionStep([&](QWidget* d) {
        change(d);
        Press(d, "optCansel");
    })});
    ExpectClean(run, 1);
    unchanged();

    // Shown again; the close box acts as "ｷｬﾝｾﾙ".
    run = WithOptions(m, {OptionStep([&](QWidget* d) {
        shown(d);
        d->close();
    })});
    ExpectClean(run, 1);
    unchanged();

    run = WithOptions(m, {OptionStep([&](QWidget* d) {
        shown(d);
        Press(d, "optCansel");
    })});
    ExpectClean(run, 1);
}

TEST(Options, UnwritableSettingsFileKeepsTheDialogOpenAfterApplyingTheOptions)
{
    TempFolder program;
    program.MakeFolder("Pelkorin.ini"); // a folder where the file should go: no one can write it
    program.MakeFolder("start");
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    const std::string start = program / "start";

    bool openAfterBox = false;
    QString edit1AfterBox;
    std::vector<ModalStep> steps = ChooseStartFolder(&start);
    ModalRun run;
    steps.push_back(OptionStep([&](QWidget* d) { Later(Find<QPushButton>(d, "optOK")); }));
    steps.push_back(BoxStep(run));
    steps.push_back(OptionStep([&](QWidget* d) {
        openAfterBox = d->isVisible();
        edit1AfterBox = TextOf(d, "Edit1");
        Press(d, "optCansel");
    }));
    const ModalRun done = WithOptions(m, std::move(steps));
    ExpectClean(done, 5);

    ASSERT_EQ(run.Boxes.size(), 1u);
    EXPECT_EQ(run.Boxes[0].Title, u"Pelkorin"_s);
    EXPECT_EQ(run.Boxes[0].Icon, QMessageBox::Critical);
    EXPECT_TRUE(run.Boxes[0].Text.startsWith(u"ファイルを書き込めません"_s)) << run.Boxes[0].Text.toStdString();
    EXPECT_TRUE(openAfterBox);
    EXPECT_EQ(edit1AfterBox, FromUtf8(start));
    // The main check boxes took the dialog's states before the write ...
    EXPECT_FALSE(Checked(m, "Check1"));
    EXPECT_FALSE(Checked(m, "Check2"));
    // ... the start folder was not opened.
    EXPECT_EQ(Dir1Folder(m), FromUtf8(program.path()));
    EXPECT_TRUE(std::filesystem::is_directory(program / "Pelkorin.ini"));
}

TEST(Options, VanishedStartFolderIsWrittenThenReported)
{
    TempFolder program;
    program.MakeFolder("start");
    program.Write("Pelkorin.ini", SettingsFileWith({{18, "/usr/bin/viewer"}}));
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    const std::string start = program / "start";

    bool openAfterBox = false;
    ModalRun run;
    std::vector<ModalStep> steps = ChooseStartFolder(&start);
    steps.push_back(OptionStep([&](QWidget* d) {
        ShowPage(d, "TabSheet4");
        Press(d, "Button3");
        std::filesystem::remove(start);
        Later(Find<QPushButton>(d, "optOK"));
    }));
    steps.push_back(BoxStep(run));
    steps.push_back(OptionStep([&](QWidget* d) {
        openAfterBox = d->isVisible();
        Press(d, "optCansel");
    }));
    ExpectClean(WithOptions(m, std::move(steps)), 5);

    EXPECT_EQ(program.Read("Pelkorin.ini"), ExpectedSettingsFile({{2, start}}));
    ASSERT_EQ(run.Boxes.size(), 1u);
    EXPECT_EQ(run.Boxes[0].Icon, QMessageBox::Critical);
    EXPECT_TRUE(run.Boxes[0].Text.contains(FromUtf8(start))) << run.Boxes[0].Text.toStdString();
    EXPECT_TRUE(openAfterBox);
    EXPECT_EQ(Dir1Folder(m), FromUtf8(program.path()));
    EXPECT_EQ(m->property("ViewerPath").toString(), u"/usr/bin/viewer"_s); // not reached
}

TEST(Options, StartFolderWithLineBreakIsRefusedBeforeAnythingHappens)
{
    TempFolder program;
    program.MakeFolder("a\nb");
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    const std::string odd = program / "a\nb";

    bool openAfterBox = false;
    QString edit1AfterBox;
    ModalRun run;
    std::vector<ModalStep> steps = ChooseStartFolder(&odd);
    steps.push_back(OptionStep([&](QWidget* d) { Later(Find<QPushButton>(d, "optOK")); }));
    steps.push_back(BoxStep(run));
    steps.push_back(OptionStep([&](QWidget* d) {
        openAfterBox = d->isVisible();
        edit1AfterBox = TextOf(d, "Edit1");
        Press(d, "optCansel");
    }));
    ExpectClean(WithOptions(m, std::move(steps)), 5);

    ASSERT_EQ(run.Boxes.size(), 1u);
    EXPECT_EQ(run.Boxes[0].Icon, QMessageBox::Critical);
    EXPECT_TRUE(run.Boxes[0].Text.contains(u"「起動フォルダ」"_s)) << run.Boxes[0].Text.toStdString();
    EXPECT_TRUE(openAfterBox);
    EXPECT_EQ(edit1AfterBox, FromUtf8(odd));
    EXPECT_FALSE(program.Exists("Pelkorin.ini"));
    // Nothing applied: the dialog's unchecked boxes did not reach the main window.
    EXPECT_TRUE(Checked(m, "Check1"));
    EXPECT_TRUE(Checked(m, "Check2"));
    EXPECT_EQ(Dir1Folder(m), FromUtf8(program.path()));
}

} // namespace
