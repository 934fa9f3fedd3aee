// The folder chooser, the viewer's file dialog, the About box and the help launch, each
// driven the way a user reaches it.
#include "support/dialogdriving.h"
#include "support/tempfolder.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

// Readable QString values in failure messages.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

QString Edit(QWidget* w, const char* name) { return Find<QLineEdit>(w, name)->text(); }

void ExpectClean(const ModalRun& run, std::size_t steps)
{
    EXPECT_EQ(run.StepsDone, steps);
    EXPECT_TRUE(run.Unexpected.isEmpty()) << run.Unexpected.join(u", "_s).toStdString();
}

// Reads Edit1 once the chooser has closed.
ModalStep ReadEdit1(QString& into)
{
    return OptionStep([&into](QWidget* d) {
        into = Edit(d, "Edit1");
        Find<QPushButton>(d, "optCansel")->click();
    });
}

TEST(FolderChooser, IsPlacedFromTheMainWindowAndStartsOnItsFolder)
{
    TempFolder program;
    program.MakeFolder("start");
    program.Write("Pelkorin.ini", SettingsFileWith({{2, program / "start"}, {20, "60"}, {22, "30"}}));
    StartedProgram p = StartProgram(program.path());
    TOpenfolda* chooser = p.windows.Openfolda.get();
    EXPECT_EQ(chooser->windowTitle(), u"フォルダ選択"_s);
    EXPECT_EQ(chooser->size(), QSize(465, 186));
    EXPECT_EQ(chooser->pos(), QPoint(60 + 80, 30 + 110));
    EXPECT_EQ(Find(chooser, "Dir2")->property("directory").toString(), FromUtf8(program / "start"));
    EXPECT_EQ(Find<QPushButton>(chooser, "Button1")->text(), u"選択"_s);
    EXPECT_EQ(Find<QPushButton>(chooser, "Button2")->text(), u"キャンセル"_s);
    EXPECT_EQ(Find<QComboBox>(chooser, "Drive2")->currentIndex(), 0); // "/" holds the temp folder
    EXPECT_EQ(chooser->property("SelectedFolder").toString(), QString());
}

TEST(FolderChooser, ThreeWaysOut)
{
    TempFolder program;
    program.MakeFolder("sub");
    program.MakeFolder("sub/deeper");
    program.MakeFolder("sub/other");
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    TOpenfolda* chooser = p.windows.Openfolda.get();
    const std::string sub = program / "sub";

    // "選択" hands back the folder that is open, not the one merely highlighted.
    QString edit1;
    std::vector<ModalStep> steps = {
        OptionStep([](QWidget* d) { Later(Find<QPushButton>(d, "Button1")); }),
        {u"Openfolda"_s, [&](QWidget* c) {
             OpenFolderRow(c, "Dir2", sub);
             HighlightFolderRow(c, "Dir2", sub + "/deeper");
             Find<QPushButton>(c, "Button1")->click();
         }},
        ReadEdit1(edit1),
    };
    ExpectClean(WithOptions(m, std::move(steps)), 3);
    EXPECT_EQ(edit1, FromUtf8(sub));
    EXPECT_EQ(chooser->property("SelectedFolder").toString(), FromUtf8(sub));

    // The close box keeps the last result, and the chooser stays where the user left it.
    steps = ChooseStartFolder(nullptr);
    steps.push_back(ReadEdit1(edit1));
    ExpectClean(WithOptions(m, std::move(steps)), 3);
    EXPECT_EQ(edit1, FromUtf8(sub));
    EXPECT_EQ(Find(chooser, "Dir2")->property("directory").toString(), FromUtf8(sub));

    // "キャンセル" hands back nothing; "登録" then leaves the main folder where it is.
    steps = ChooseStartFolder(nullptr, true);
    steps.push_back(OptionStep([&](QWidget* d) {
        edit1 = Edit(d, "Edit1");
        Find<QPushButton>(d, "optOK")->click();
    }));
    ExpectClean(WithOptions(m, std::move(steps)), 3);
    EXPECT_EQ(edit1, QString());
    EXPECT_EQ(chooser->property("SelectedFolder").toString(), QString());
    EXPECT_EQ(program.Read("Pelkorin.ini"), ExpectedSettingsFile({}));
    EXPECT_EQ(Find(m, "Dir1")->property("directory").toString(), FromUtf8(program.path()));

    // A close box after a cancel hands back the empty result again.
    steps = ChooseStartFolder(nullptr);
    steps.push_back(ReadEdit1(edit1));
    ExpectClean(WithOptions(m, std::move(steps)), 3);
    EXPECT_EQ(edit1, QString());
}

TEST(FolderChooser, EnterOnAFolderOpensItAndOnlyTheButtonsClose)
{
    TempFolder program;
    program.MakeFolder("sub");
    program.MakeFolder("sub/deeper");
    StartedProgram p = StartProgram(program.path());
    const std::string sub = program / "sub", deeper = program / "sub/deeper";
    // Each row: the folder highlighted, then the key pressed on Dir2; the chooser stays open.
    const struct { std::string folder; Qt::Key key; } enters[] = {
        {sub, Qt::Key_Return}, {deeper, Qt::Key_Enter}, {sub, Qt::Key_Return}};
    // The button Enter is pressed on at the end, and the result it hands back.
    const struct { const char* button; QString selected; } ends[] = {
        {"Button1", FromUtf8(sub)}, {"Button2", QString()}};
    for (const auto& end : ends) {
        SCOPED_TRACE(end.button);
        QString edit1;
        std::vector<ModalStep> steps = ChooseStartFolder(nullptr);
        steps[1].Act = [&](QWidget* c) {
            auto* dir2 = Find(c, "Dir2");
            for (const auto& e : enters) {
                HighlightFolderRow(c, "Dir2", e.folder);
                QTest::keyClick(dir2, e.key);
                EXPECT_EQ(dir2->property("directory").toString(), FromUtf8(e.folder));
                EXPECT_TRUE(c->isVisible());
            }
            QTest::keyClick(Find(c, end.button), Qt::Key_Return);
            EXPECT_FALSE(c->isVisible());
        };
        steps.push_back(ReadEdit1(edit1));
        ExpectClean(WithOptions(p.main(), std::move(steps)), 3);
        EXPECT_EQ(edit1, end.selected);
        EXPECT_EQ(p.windows.Openfolda->property("SelectedFolder").toString(), end.selected);
    }
}

TEST(FolderChooser, FolderRemovedBehindItsBackIsReportedAndTheListStays)
{
    TempFolder program;
    program.MakeFolder("gone");
    StartedProgram p = StartProgram(program.path());
    ModalRun run;
    std::vector<ModalStep> steps = {
        OptionStep([](QWidget* d) { Later(Find<QPushButton>(d, "Button1")); }),
        {u"Openfolda"_s, [&](QWidget* c) {
             std::filesystem::remove(program / "gone");
             QTimer::singleShot(0, c, [&, c] { OpenFolderRow(c, "Dir2", program / "gone"); });
         }},
        BoxStep(run),
        {u"Openfolda"_s, [&](QWidget* c) {
             EXPECT_EQ(Find(c, "Dir2")->property("directory").toString(), FromUtf8(program.path()));
             c->close();
         }},
        OptionStep([](QWidget* d) { d->close(); }),
    };
    ExpectClean(WithOptions(p.main(), std::move(steps)), 5);
    ASSERT_EQ(run.Boxes.size(), 1u);
    EXPECT_EQ(run.Boxes[0].Icon, QMessageBox::Critical);
    EXPECT_TRUE(run.Boxes[0].Text.contains(FromUtf8(program / "gone"))) << run.Boxes[0].Text.toStdString();
}

TEST(FolderChooser, DriveListOpensVolumesAndReportsOneWithoutMedium)
{
    TempFolder program, volume;
    const std::string noMedium = volume / "not-mounted";
    StartedProgram p = StartProgram(program.path(), OnVolumes({{"/", ""}, {volume.path(), "TESTVOL"}, {noMedium, ""}}));
    auto dir2 = [](QWidget* c) { return Find(c, "Dir2")->property("directory").toString(); };
    ModalRun run;
    std::vector<ModalStep> steps = {
        OptionStep([](QWidget* d) { Later(Find<QPushButton>(d, "Button1")); }),
        {u"Openfolda"_s, [&](QWidget* c) {
             auto* drive = Find<QComboBox>(c, "Drive2");
             ASSERT_EQ(drive->count(), 3);
             QTest::keyClick(drive, Qt::Key_Down);
             EXPECT_EQ(dir2(c), FromUtf8(volume.path()));
             QTest::keyClick(drive, Qt::Key_Up); // back where "/" was left
             EXPECT_EQ(dir2(c), FromUtf8(program.path()));
             QTest::keyClick(drive, Qt::Key_Down);
             QTimer::singleShot(0, drive, [drive] { QTest::keyClick(drive, Qt::Key_Down); });
         }},
        BoxStep(run),
        {u"Openfolda"_s, [&](QWidget* c) {
             EXPECT_EQ(dir2(c), FromUtf8(volume.path())); // stays on the folder it had
             EXPECT_EQ(Find<QComboBox>(c, "Drive2")->currentIndex(), 1);
             c->close();
         }},
        OptionStep([](QWidget* d) { d->close(); }),
    };
    ExpectClean(WithOptions(p.main(), std::move(steps)), 5);
    ASSERT_EQ(run.Boxes.size(), 1u);
    EXPECT_EQ(run.Boxes[0].Icon, QMessageBox::Critical);
    EXPECT_TRUE(run.Boxes[0].Text.contains(FromUtf8(noMedium))) << run.Boxes[0].Text.toStdString();
}

TEST(FolderChooser, AVolumeOpensWhereEitherWindowWasLastOnIt)
{
    TempFolder program, volume;
    volume.MakeFolder("photos");
    volume.MakeFolder("photos/2026");
    StartedProgram p = StartProgram(program.path(), OnVolumes({{"/", ""}, {volume.path(), "TESTVOL"}}));
    TMain* m = p.main();
    auto* drive1 = Find<QComboBox>(m, "Drive1");
    auto dir = [](QWidget* w, const char* name) { return Find(w, name)->property("directory").toString(); };

    // The main window visits photos on the volume and goes back to "/".
    QTest::keyClick(drive1, Qt::Key_Down);
    OpenFolderRow(m, "Dir1", volume / "photos");
    QTest::keyClick(drive1, Qt::Key_Up);
    ASSERT_EQ(dir(m, "Dir1"), FromUtf8(program.path()));

    // The chooser opens the volume where the main window left it, and goes deeper there.
    QString opened;
    std::vector<ModalStep> steps = ChooseStartFolder(nullptr);
    steps[1].Act = [&](QWidget* c) {
        QTest::keyClick(Find<QComboBox>(c, "Drive2"), Qt::Key_Down);
        opened = dir(c, "Dir2");
        OpenFolderRow(c, "Dir2", volume / "photos/2026");
        c->close();
    };
    steps.push_back(OptionStep([](QWidget* d) { d->close(); }));
    ExpectClean(WithOptions(m, std::move(steps)), 3);
    EXPECT_EQ(opened, FromUtf8(volume / "photos"));

    // The main window then opens the volume where the chooser left it.
    EXPECT_TRUE(RunAnsweringBoxes([&] { QTest::keyClick(drive1, Qt::Key_Down); }).empty());
    EXPECT_EQ(dir(m, "Dir1"), FromUtf8(volume / "photos/2026"));
}

TEST(ViewerDialog, PickSetsTheViewerAndCancelKeepsIt)
{
    TempFolder program;
    program.Write("myviewer");
    program.Write("Pelkorin.ini", SettingsFileWith({{18, "/usr/bin/old"}}));
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();

    QString title, edit3;
    std::vector<ModalStep> steps = PickViewer("", &title);
    steps.push_back(OptionStep([&](QWidget* d) {
        edit3 = Edit(d, "Edit3");
        d->close();
    }));
    ExpectClean(WithOptions(m, std::move(steps)), 3);
    EXPECT_EQ(title, u"ファイル選択"_s);
    EXPECT_EQ(edit3, u"/usr/bin/old"_s); // a cancelled pick keeps what was there
    TOption* option = p.windows.Option.get();
    auto* dialog = option->findChild<QFileDialog*>(u"OpenDialog1"_s);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
    // No filter but Qt's own "all files" one, in whatever language Qt speaks.
    const QStringList filters = dialog->nameFilters();
    EXPECT_TRUE(filters.isEmpty() || (filters.size() == 1 && filters[0].endsWith(u"(*)"_s)) ||
                filters == QStringList{u"*"_s})
        << dialog->nameFilters().join(u";"_s).toStdString();

    steps = PickViewer(program / "myviewer");
    steps.push_back(OptionStep([&](QWidget* d) {
        edit3 = Edit(d, "Edit3");
        Find<QPushButton>(d, "optOK")->click();
    }));
    ExpectClean(WithOptions(m, std::move(steps)), 3);
    EXPECT_EQ(edit3, FromUtf8(program / "myviewer"));
    EXPECT_EQ(m->property("ViewerPath").toString(), FromUtf8(program / "myviewer"));
    EXPECT_EQ(program.Read("Pelkorin.ini"), ExpectedSettingsFile({{18, program / "myviewer"}}));
}

TEST(AboutBox, ShowsNameVersionIconAndCredits)
{
    TempFolder program;
    program.Write("Pelkorin.ini", SettingsFileWith({{20, "20"}, {22, "10"}}));
    StartedProgram p = StartProgram(program.path());
    TAbout* about = p.windows.About.get();
    EXPECT_EQ(about->windowTitle(), u"バージョン情報"_s);
    EXPECT_EQ(about->size(), QSize(375, 183));
    EXPECT_EQ(about->pos(), QPoint(20 + 130, 10 + 130));

    auto* panel = Find<QFrame>(about, "Panel1");
    EXPECT_EQ(panel->size(), QSize(361, 137));
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(Qt::white));
    auto* icon = Find<QLabel>(about, "Image1");
    EXPECT_EQ(icon->size(), QSize(41, 41));
    EXPECT_FALSE(icon->pixmap().isNull());

    QList<QLabel*> titles;
    for (QLabel* l : about->findChildren<QLabel*>())
        if (l->text() == u"Pelkorin Ver0.9"_s)
            titles << l;
    ASSERT_EQ(titles.size(), 1);
    const QFont f = titles[0]->font();
    EXPECT_EQ(f.family(), u"ＭＳ ゴシック"_s);
    EXPECT_EQ(f.pixelSize(), 27);
    EXPECT_TRUE(f.bold() && f.italic() && f.underline());
    EXPECT_EQ(titles[0]->palette().color(QPalette::WindowText), QColor(0, 255, 255));

    // Four credit lines from top to bottom Label1, Label3, Label2, Label4; Label3 upright.
    int lastTop = -1;
    for (const char* name : {"Label1", "Label3", "Label2", "Label4"}) {
        auto* l = Find<QLabel>(about, name);
        EXPECT_FALSE(l->text().isEmpty()) << name;
        EXPECT_GT(l->y(), lastTop) << name;
        lastTop = l->y();
        const bool upright = std::string(name) == "Label3";
        EXPECT_EQ(l->font().italic(), !upright) << name;
        if (!upright) {
            EXPECT_EQ(l->font().pixelSize(), 16) << name;
        }
    }

    bool shown = false;
    ModalRun run = RunModalSteps([&] { Find<QAction>(p.main(), "About1")->trigger(); },
                                 {{u"About"_s, [&](QWidget* w) {
                                       shown = w->isVisible();
                                       Find<QPushButton>(w, "Button1")->click();
                                   }}});
    ExpectClean(run, 1);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(about->isVisible());
}

// A recording `xdg-open` first on PATH for the life of the test.
class RecordingXdgOpen {
public:
    RecordingXdgOpen()
    {
        bin_.Write("xdg-open", "#!/bin/sh\n{ pwd; echo \"$#\"; printf '%s\\n' \"$@\"; } > \"" +
                                   bin_ / "record.tmp" + "\"\nmv \"" + bin_ / "record.tmp" +
                                   "\" \"" + bin_ / "record" + "\"\n");
        chmod((bin_ / "xdg-open").c_str(), 0755);
        oldPath_ = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(bin_.path()) + ':' + oldPath_);
    }
    ~RecordingXdgOpen() { qputenv("PATH", oldPath_); }
    // The lines it recorded: working folder, argument count, arguments; empty on a timeout.
    std::string Wait() const
    {
        QElapsedTimer t;
        t.start();
        // Polls for the record the started program writes; a timeout leaves it empty and the
        // caller's comparison fails, so the wait never stands in for a check.
        while (!bin_.Exists("record") && t.elapsed() < 5000)
            QTest::qWait(20);
        return bin_.Read("record");
    }

private:
    TempFolder bin_;
    QByteArray oldPath_;
};

TEST(Help, OpensThePageBesideTheProgramWithXdgOpen)
{
    TempFolder program;
    StartedProgram p = StartProgram(program.path());
    RecordingXdgOpen xdg;
    std::vector<SeenBox> boxes =
        RunAnsweringBoxes([&] { Find<QAction>(p.main(), "Contents1")->trigger(); });
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(xdg.Wait(), program.path() + "\n1\n" + program.path() + "/Pelkorin.html\n");
}

} // namespace
