// A double click on the list of current names opens the topmost selected file: ".jpg" files
// in the chosen viewer (a recording script here), everything else through the desktop.
#include "filelist/widgets/namelistview.h"
#include "platform/launch.h"
#include "support/mainwindowfixture.h"
#include "support/tempfolder.h"

#include <QByteArray>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QMenu>
#include <QObject>
#include <QTest>
#include <QUrl>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <vector>

namespace {

// Stands in for the desktop's file handler.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> urls;
    // The process's current folder at each hand-over: where the desktop's program starts.
    std::vector<std::string> folders;
public slots:
    void record(const QUrl& url)
    {
        urls.push_back(url);
        folders.push_back(std::filesystem::current_path().string());
    }
};

// A settings file as the options dialog saves it, with the start folder and viewer given.
std::string SettingsText(const std::string& start, const std::string& viewer)
{
    std::map<int, std::string> lines = {{2, start},    {4, "on"},   {6, "on"},     {8, "off"},
                                        {10, "3"},     {12, "off"}, {14, "off"},   {16, "off"},
                                        {18, viewer},  {20, "0"},   {22, "0"},     {24, "0"}};
    std::string text = "Pelkorin Ver0.9\r\n";
    for (int n = 1; n < 25; ++n)
        text += (n % 2 ? "[" + std::to_string(n) + "]" : lines[n]) + "\r\n";
    return text;
}

// The path of a file URL, its percent-encoding undone byte for byte.
std::string PathOf(const QUrl& url)
{
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

// One start of a program, as the program asked for it and whether it began.
struct LaunchAttempt {
    std::string program, argument, workingFolder;
    bool started = false;
};

// The program with its photos in program/photos and, when wanted, a viewer that records its
// working folder and its arguments (each ended by a zero byte) in program/record.
struct LaunchWindow {
    TempFolder program;
    std::string photos = program / "photos";
    std::string record = program / "record";
    // Every start the program attempted, seen as the attempt ends, so a test knows what was
    // started and what was not without waiting for the started program.
    std::vector<LaunchAttempt> launches;
    StartedProgram p;
    TMain* m = nullptr;
    NameListView* oldfile = nullptr;
    UrlRecorder opened;

    LaunchWindow(const std::vector<std::string>& files, bool withViewer)
    {
        program.MakeFolder("photos");
        for (const std::string& f : files)
            program.Write("photos/" + f, "x");
        const std::string viewer = program / "viewer.sh";
        // Like many viewers it takes options before file names; this one runs the text of
        // its --info option, so a name taken for an option would leave a file behind.
        program.Write("viewer.sh",
                      "#!/bin/sh\n"
                      "case \"$1\" in --info=*) sh -c \"${1#--info=}\" ;; esac\n"
                      "{ pwd -P; printf '%s\\n' \"$#\"; for a in \"$@\"; do printf '%s\\0' \"$a\"; "
                      "done; } > '" + record + ".part'\n"
                      "mv '" + record + ".part' '" + record + "'\n");
        chmod(viewer.c_str(), 0755);
        program.Write("Pelkorin.ini", SettingsText(photos, withViewer ? viewer : ""));
        AppServices services;
        services.Launch = [this](const std::string& file, const std::string& argument,
                                 const std::string& folder) {
            const bool started = platform::LaunchProgram(file, argument, folder);
            launches.push_back({file, argument, folder, started});
            return started;
        };
        p = StartProgram(program.path(), std::move(services));
        m = p.main();
        oldfile = Find<NameListView>(m, "oldfile");
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "record");
    }
    ~LaunchWindow()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    }

    QPoint RowCentre(int row) const
    {
        return oldfile->visualRect(oldfile->model()->index(row, 0)).center();
    }
    // A plain (or Ctrl) click on a row, then a double click on it, as the user gives it.
    std::vector<SeenBox> DoubleClick(int row, Qt::KeyboardModifiers keys = {})
    {
        QWidget* viewport = oldfile->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, keys, RowCentre(row));
        return RunAnsweringBoxes(
            [&] { QTest::mouseDClick(viewport, Qt::LeftButton, keys, RowCentre(row)); });
    }
    // What the started viewer recorded: working folder, then the arguments.
    std::vector<std::string> Recorded() const
    {
        QElapsedTimer clock;
        clock.start();
        // Polls for the record the started viewer writes; a timeout gives no parts and the
        // caller's size check fails. Launches that must not happen are checked through the
        // recording launcher instead, at once.
        while (!program.Exists("record") && clock.elapsed() < 5000)
            QTest::qWait(10);
        if (!program.Exists("record"))
            return {};
        const std::string text = program.Read("record");
        std::vector<std::string> parts;
        const std::size_t folderEnd = text.find('\n');
        const std::size_t countEnd = text.find('\n', folderEnd + 1);
        parts.push_back(text.substr(0, folderEnd));
        parts.push_back(text.substr(folderEnd + 1, countEnd - folderEnd - 1));
        for (std::size_t at = countEnd + 1; at < text.size();) {
            const std::size_t end = text.find('\0', at);
            parts.push_back(text.substr(at, end - at));
            at = end + 1;
        }
        return parts;
    }
    int RowOf(const std::string& name) const
    {
        for (int r = 0; r < oldfile->model()->rowCount(); ++r)
            if (oldfile->model()->index(r, 0).data(Qt::UserRole).toByteArray().toStdString() ==
                name)
                return r;
        ADD_FAILURE() << "no row " << name;
        return 0;
    }
};

struct ViewerCase {
    const char* label;
    std::string name;
    std::string argument; // what the viewer receives; empty: the name itself
};

TEST(ViewerLaunch, JpgGoesToTheViewerAsOneArgumentInItsFolder)
{
    const ViewerCase cases[] = {
        {"capitals", "IMG_0001.JPG", {}},
        {"space", "my photo.jpg", {}},
        {"not UTF-8", "\x83\x74\x83\x48\x83\x67 photo.jPg", {}},
        {"long", std::string(120, 'n') + ".jpg", {}},
        {"an option that runs a command", "--info=touch PWNED;.jpg", "./--info=touch PWNED;.jpg"},
        {"a short option", "-x.jpg", "./-x.jpg"},
    };
    for (const ViewerCase& c : cases) {
        SCOPED_TRACE(c.label);
        LaunchWindow w({"a.png", c.name, "zz.txt"}, true);
        ASSERT_EQ(w.m->property("ViewerPath").toString(), QString::fromStdString(w.program / "viewer.sh"));
        EXPECT_TRUE(w.DoubleClick(w.RowOf(c.name)).empty());
        ASSERT_EQ(w.launches.size(), 1u);
        EXPECT_TRUE(w.launches[0].started);
        const std::vector<std::string> seen = w.Recorded();
        ASSERT_EQ(seen.size(), 3u);
        char* real = realpath(w.photos.c_str(), nullptr);
        EXPECT_EQ(seen[0], std::string(real));
        std::free(real);
        EXPECT_EQ(seen[1], "1");
        EXPECT_EQ(seen[2], c.argument.empty() ? c.name : c.argument);
        EXPECT_TRUE(w.opened.urls.empty());
        EXPECT_FALSE(w.program.Exists("photos/PWNED"));
    }
}

struct DesktopCase {
    const char* label;
    std::string name;
    bool withViewer;
};

TEST(ViewerLaunch, OtherFilesAndJpgWithoutViewerOpenThroughTheDesktop)
{
    const DesktopCase cases[] = {
        {"jpeg with viewer", "a.jpeg", true},
        {"png with viewer", "b.png", true},
        {"jpg.bak with viewer", "c.jpg.bak", true},
        {"jpg without viewer", "d.jpg", false},
        {"not UTF-8 without viewer", "\x83\x74%41 #?.jpg", false},
    };
    for (const DesktopCase& c : cases) {
        SCOPED_TRACE(c.label);
        LaunchWindow w({c.name, "zz.txt"}, c.withViewer);
        EXPECT_TRUE(w.DoubleClick(w.RowOf(c.name)).empty());
        ASSERT_EQ(w.opened.urls.size(), 1u);
        const QUrl& url = w.opened.urls[0];
        EXPECT_EQ(url.scheme(), QStringLiteral("file"));
        EXPECT_EQ(PathOf(url), w.photos + "/" + c.name);
        EXPECT_TRUE(w.launches.empty());
    }
}

TEST(ViewerLaunch, OnlyTheLeftButtonsDoubleClickOpens)
{
    const struct { Qt::MouseButton button; std::size_t opened; } cases[] = {
        {Qt::LeftButton, 1}, {Qt::MiddleButton, 0}, {Qt::RightButton, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        LaunchWindow w({"a.png", "b.png"}, false);
        QWidget* viewport = w.oldfile->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, w.RowCentre(1));
        EXPECT_TRUE(RunAnsweringBoxes([&] {
                        QTest::mouseDClick(viewport, c.button, {}, w.RowCentre(1));
                    }).empty());
        if (auto* menu = Find<QMenu>(w.m, "PopupMenu1"))
            menu->close(); // the right button's press brings up the context menu
        EXPECT_TRUE(w.oldfile->selectionModel()->isRowSelected(1));
        EXPECT_EQ(w.opened.urls.size(), c.opened);
    }
}

TEST(ViewerLaunch, TheDesktopsProgramStartsInTheFolderShown)
{
    LaunchWindow w({"a.png"}, false);
    EXPECT_TRUE(w.DoubleClick(0).empty());
    ASSERT_EQ(w.opened.folders.size(), 1u);
    EXPECT_EQ(w.opened.folders[0], std::filesystem::canonical(w.photos).string());
}

TEST(ViewerLaunch, CtrlSelectedRowsOpenTheTopmost)
{
    LaunchWindow w({"1.png", "2.jpg", "3.jpg", "4.txt", "5.jpg"}, false);
    w.DoubleClick(1);
    w.opened.urls.clear();
    QTest::mouseClick(w.oldfile->viewport(), Qt::LeftButton, Qt::ControlModifier, w.RowCentre(2));
    EXPECT_TRUE(w.DoubleClick(4, Qt::ControlModifier).empty());
    ASSERT_EQ(w.opened.urls.size(), 1u);
    EXPECT_EQ(PathOf(w.opened.urls[0]), w.photos + "/2.jpg");
}

TEST(ViewerLaunch, NoSelectedRowGivesTheRangeErrorAndStartsNothing)
{
    LaunchWindow w({"1.jpg", "2.jpg", "3.png", "4.jpg", "5.jpg"}, true);
    // The Ctrl press of the double click takes away the only selected row.
    QTest::mouseClick(w.oldfile->viewport(), Qt::LeftButton, {}, w.RowCentre(2));
    const std::vector<SeenBox> boxes = w.DoubleClick(2, Qt::ControlModifier);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, QStringLiteral("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています (5)"));
    EXPECT_EQ(boxes[0].Title, QStringLiteral("Pelkorin"));
    EXPECT_EQ(boxes[0].Icon, QMessageBox::Critical);
    EXPECT_TRUE(w.opened.urls.empty());
    EXPECT_TRUE(w.launches.empty());
}

TEST(ViewerLaunch, ViewerThatIsGoneReportsNothing)
{
    LaunchWindow w({"a.jpg"}, true);
    ASSERT_EQ(std::remove((w.program / "viewer.sh").c_str()), 0);
    EXPECT_TRUE(w.DoubleClick(0).empty());
    EXPECT_TRUE(w.opened.urls.empty());
    ASSERT_EQ(w.launches.size(), 1u);
    EXPECT_EQ(w.launches[0].program, w.program / "viewer.sh");
    EXPECT_FALSE(w.launches[0].started);
}

} // namespace

#include "launch_uitest.moc"
