// Folder navigation on real temporary folders: what the listing puts in oldfile, the folder
// list, the drive list, the refresh button and the open dialog.
#include "filelist/widgets/folderlistview.h"
#include "filelist/widgets/namelistview.h"
#include "support/mainwindowfixture.h"
#include "support/permissionoverride.h"
#include "support/tempfolder.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <unistd.h>

using namespace Qt::StringLiterals;

// Readable QString values in failure messages.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }

std::vector<std::string> RawRows(QAbstractItemView* list)
{
    std::vector<std::string> rows;
    for (int r = 0; r < list->model()->rowCount(); ++r)
        rows.push_back(list->model()->index(r, 0).data(Qt::UserRole).toByteArray().toStdString());
    return rows;
}

// The folder list's rows as shown: each one the bare folder name.
QStringList FolderRows(QAbstractItemView* dir)
{
    QStringList rows;
    for (int r = 0; r < dir->model()->rowCount(); ++r)
        rows << dir->model()->index(r, 0).data().toString();
    return rows;
}

// Double-clicks the last folder-list row showing name, as a user opens a folder.
void OpenRow(TMain* m, const QString& name)
{
    auto* dir = Find<QAbstractItemView>(m, "Dir1");
    const int row = FolderRows(dir).lastIndexOf(name);
    ASSERT_GE(row, 0) << name.toStdString();
    const QModelIndex index = dir->model()->index(row, 0);
    dir->scrollTo(index);
    const QPoint at = dir->visualRect(index).center();
    // QTest sends the double-click event alone; a real one follows a click.
    QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, at);
}

QString Dir1Folder(TMain* m) { return Find(m, "Dir1")->property("directory").toString(); }
NameListView* OldFile(TMain* m) { return Find<NameListView>(m, "oldfile"); }
std::vector<std::string> OldRows(TMain* m) { return RawRows(OldFile(m)); }

TEST(Folders, ListingHoldsVisibleFilesInCaseBlindOrderWithRawNames)
{
    TempFolder program;
    for (const char* name : {"c.jpg", "B.jpg", "a.jpg", "README", "caf\xe9.jpg", "new\nline.jpg", ".hidden"})
        program.Write(name);
    program.MakeFolder("sub.jpg");
    program.MakeFolder(".git");
    StartedProgram p = StartProgram(program.path());
    EXPECT_EQ(OldRows(p.main()), (std::vector<std::string>{"a.jpg", "B.jpg", "c.jpg", "caf\xe9.jpg",
                                                           "new\nline.jpg", "README"}));
    EXPECT_FALSE(OldFile(p.main())->selectionModel()->hasSelection());
}

TEST(Folders, ThousandsOfFilesAreAllListed)
{
    TempFolder program;
    std::vector<std::string> expected;
    for (int i = 0; i < 3000; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, i % 2 ? "P%04d.JPG" : "p%04d.jpg", i);
        expected.push_back(name);
    }
    for (auto it = expected.rbegin(); it != expected.rend(); ++it)
        program.Write(*it);
    StartedProgram p = StartProgram(program.path());
    EXPECT_EQ(OldRows(p.main()), expected);
}

TEST(Folders, FolderListShowsPathAndSubfoldersAndOpensRows)
{
    TempFolder program;
    program.Write("top.jpg");
    for (const char* sub : {"beta", "Alpha", "gamma", ".hid", "gone"})
        program.MakeFolder(sub);
    program.Write("beta/b1.jpg");
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    auto* dir = Find<QAbstractItemView>(m, "Dir1");

    QStringList path = Text(program.path()).split(u'/', Qt::SkipEmptyParts);
    EXPECT_EQ(FolderRows(dir), (QStringList{u"/"_s} + path + QStringList{u"Alpha"_s, u"beta"_s, u"gamma"_s, u"gone"_s}));
    EXPECT_EQ(dir->currentIndex().row(), path.size());

    // Opening the folder already shown changes nothing, not even the selection.
    OldFile(m)->selectionModel()->select(OldFile(m)->model()->index(0, 0), QItemSelectionModel::Select);
    OpenRow(m, path.last());
    EXPECT_EQ(Dir1Folder(m), Text(program.path()));
    EXPECT_TRUE(OldFile(m)->selectionModel()->isRowSelected(0));

    OpenRow(m, u"beta"_s);
    EXPECT_EQ(Dir1Folder(m), Text(program / "beta"));
    EXPECT_EQ(OldRows(m), std::vector<std::string>{"b1.jpg"});
    EXPECT_EQ(FolderRows(dir).last(), u"beta"_s);

    OpenRow(m, path.last()); // a row on the way down
    EXPECT_EQ(Dir1Folder(m), Text(program.path()));
    EXPECT_EQ(OldRows(m), std::vector<std::string>{"top.jpg"});

    // A folder deleted behind the program's back can't be opened.
    std::filesystem::remove(program / "gone");
    std::vector<SeenBox> boxes = RunAnsweringBoxes([&] { OpenRow(m, u"gone"_s); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Icon, QMessageBox::Critical);
    EXPECT_EQ(boxes[0].Title, u"Pelkorin"_s);
    EXPECT_TRUE(boxes[0].Text.contains(Text(program / "gone"))) << boxes[0].Text.toStdString();
    EXPECT_EQ(Dir1Folder(m), Text(program.path()));
    EXPECT_EQ(OldRows(m), std::vector<std::string>{"top.jpg"});
}

TEST(Folders, RefreshShowsNewContentAndEmptiesNewFile)
{
    TempFolder program;
    program.Write("a.jpg");
    program.Write("c.jpg");
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    Find<QPushButton>(m, "Button3")->click();
    RunAnsweringBoxes([&] { Find<QPushButton>(m, "Button6")->click(); });
    ASSERT_EQ(Find<NameListView>(m, "NewFile")->rowCount(), 2);

    program.Write("b.jpg");
    std::filesystem::remove(program / "a.jpg");
    program.MakeFolder("new folder");
    Find<QPushButton>(m, "Button11")->click();
    EXPECT_EQ(OldRows(m), (std::vector<std::string>{"b.jpg", "c.jpg"}));
    EXPECT_EQ(Find<FolderListView>(m, "Dir1")->rowNames().back(), "new folder");
    EXPECT_EQ(Find<NameListView>(m, "NewFile")->rowCount(), 0);
    EXPECT_FALSE(OldFile(m)->selectionModel()->hasSelection());
}

TEST(Folders, RefreshOfVanishedFolderFallsBackToProgramFolder)
{
    TempFolder program;
    program.Write("p.jpg");
    program.MakeFolder("sub");
    program.Write("sub/s.jpg");
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    OpenRow(m, u"sub"_s);
    ASSERT_EQ(Dir1Folder(m), Text(program / "sub"));
    std::filesystem::remove_all(program / "sub");
    EXPECT_TRUE(RunAnsweringBoxes([&] { Find<QPushButton>(m, "Button11")->click(); }).empty());
    EXPECT_EQ(Dir1Folder(m), Text(program.path()));
    EXPECT_EQ(OldRows(m), std::vector<std::string>{"p.jpg"});
}

// Stands in a fixed list of volumes for the system's while it lives.
TEST(Folders, DriveListOpensEachVolumeAtItsLastFolder)
{
    TempFolder program, volume;
    program.MakeFolder("sub");
    program.Write("sub/s.jpg");
    volume.Write("v.jpg");
    const std::string noMedium = volume / "not-mounted";
    StartedProgram p = StartProgram(program.path(), OnVolumes({{"/", ""}, {volume.path(), "TESTVOL"}, {noMedium, ""}}));
    TMain* m = p.main();
    auto* drive = Find<QComboBox>(m, "Drive1");
    ASSERT_EQ(drive->count(), 3);
    EXPECT_EQ(drive->itemText(1), Text(volume.path()) + u" [TESTVOL]"_s);
    EXPECT_EQ(drive->currentIndex(), 0);
    OpenRow(m, u"sub"_s);

    const struct { Qt::Key key; int index; std::string folder; std::vector<std::string> rows; } steps[] = {
        {Qt::Key_Down, 1, volume.path(), {"v.jpg"}},
        {Qt::Key_Up, 0, program / "sub", {"s.jpg"}}, // back where "/" was left
        {Qt::Key_Down, 1, volume.path(), {"v.jpg"}},
        {Qt::Key_Down, 0, program.path(), {}}, // no medium: silently back to the program folder
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.folder);
        EXPECT_TRUE(RunAnsweringBoxes([&] { QTest::keyClick(drive, s.key); }).empty());
        EXPECT_EQ(Dir1Folder(m), Text(s.folder));
        EXPECT_EQ(drive->currentIndex(), s.index);
        EXPECT_EQ(OldRows(m), s.rows);
    }
}

// The process's current folder, symbolic links resolved as getcwd gives them.
QString ProcessFolder() { return Text(std::filesystem::current_path().string()); }
QString RealPath(const std::string& path) { return Text(std::filesystem::canonical(path).string()); }

TEST(Folders, EveryFolderShownIsTheProcessFolderAndOneThatCannotBeEnteredIsRefused)
{
    TempFolder program, volume;
    program.MakeFolder("a");
    program.MakeFolder("b");
    program.MakeFolder("locked");
    volume.MakeFolder("v");
    StartedProgram p = StartProgram(program.path(), OnVolumes({{"/", ""}, {volume.path(), ""}}));
    TMain* m = p.main();
    auto* drive = Find<QComboBox>(m, "Drive1");
    EXPECT_EQ(ProcessFolder(), RealPath(program.path()));

    const struct { const char* how; std::function<void()> act; std::string shown; } steps[] = {
        {"row", [&] { OpenRow(m, u"a"_s); }, program / "a"},
        {"next folder", [&] { Find<QPushButton>(m, "Button5")->click(); }, program / "b"},
        {"drive", [&] { QTest::keyClick(drive, Qt::Key_Down); }, volume.path()},
        {"row on the volume", [&] { OpenRow(m, u"v"_s); }, volume / "v"},
        {"drive back", [&] { QTest::keyClick(drive, Qt::Key_Up); }, program / "b"},
        {"vanished folder", [&] {
             std::filesystem::remove(program / "b");
             Find<QPushButton>(m, "Button11")->click();
         }, program.path()},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.how);
        EXPECT_TRUE(RunAnsweringBoxes(s.act).empty());
        EXPECT_EQ(Dir1Folder(m), Text(s.shown));
        EXPECT_EQ(ProcessFolder(), RealPath(s.shown));
    }

    // A folder that can be listed but not entered: opening its row is refused with the error
    // box, and a volume that opens there sends the lists back to the program's folder silently.
    namespace fs = std::filesystem;
    const std::string locked[] = {program / "locked", volume / "v"};
    for (const std::string& f : locked)
        fs::permissions(f, fs::perms::owner_read);
    const auto unlock = qScopeGuard([&] {
        for (const std::string& f : locked)
            fs::permissions(f, fs::perms::owner_all);
    });
    WithoutPermissionOverride asUser;
    if (chdir(locked[0].c_str()) == 0)
        GTEST_SKIP() << "this user enters every folder";
    std::vector<SeenBox> boxes = RunAnsweringBoxes([&] { OpenRow(m, u"locked"_s); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Icon, QMessageBox::Critical);
    EXPECT_TRUE(boxes[0].Text.contains(Text(locked[0]))) << boxes[0].Text.toStdString();
    EXPECT_EQ(Dir1Folder(m), Text(program.path()));
    EXPECT_EQ(ProcessFolder(), RealPath(program.path()));

    OpenRow(m, u"a"_s);
    EXPECT_TRUE(RunAnsweringBoxes([&] { QTest::keyClick(drive, Qt::Key_Down); }).empty());
    EXPECT_EQ(Dir1Folder(m), Text(program.path()));
    EXPECT_EQ(drive->currentIndex(), 0);
    EXPECT_EQ(ProcessFolder(), RealPath(program.path()));
}

// Opens "開く(&O)..." and picks file in the dialog; an empty file cancels it.
void ChooseInOpenDialog(TMain* m, const std::string& file)
{
    QString name, title;
    std::vector<SeenBox> boxes = RunAnsweringBoxes(
        [&] { Find<QAction>(m, "Open1")->trigger(); }, {},
        [&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            if (!dialog) {
                w->close();
                return;
            }
            name = dialog->objectName();
            title = dialog->windowTitle();
            if (file.empty())
                return dialog->reject();
            // Typed into the name box: selectFile() leaves the box alone while it has focus.
            Find<QLineEdit>(dialog, "fileNameEdit")->setText(Text(file));
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides its override
        });
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(name, u"OpenDialog1"_s);
    EXPECT_EQ(title, u"ファイル設定"_s);
}

TEST(Folders, OpenDialogSwitchesToChosenFilesFolder)
{
    TempFolder program, other;
    program.Write("p.jpg");
    other.Write("x.jpg");
    other.Write("y.jpg");
    other.MakeFolder("deeper");
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();

    ChooseInOpenDialog(m, other / "y.jpg");
    EXPECT_EQ(Dir1Folder(m), Text(other.path()));
    EXPECT_EQ(OldRows(m), (std::vector<std::string>{"x.jpg", "y.jpg"}));

    // A cancel leaves the folder alone, even though the dialog still holds y.jpg.
    OpenRow(m, u"deeper"_s);
    ChooseInOpenDialog(m, "");
    EXPECT_EQ(Dir1Folder(m), Text(other / "deeper"));
}

} // namespace
