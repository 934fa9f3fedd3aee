// The next-folder button on real temporary folders: siblings in order and the wrap, a
// subfolder named like its parent, the root, a hidden folder, the only subfolder and
// folders that vanished before the press.
#include "filelist/listingorder.h"
#include "filelist/widgets/namelistview.h"
#include "support/mainwindowfixture.h"
#include "support/tempfolder.h"

#include <QPushButton>
#include <QSignalSpy>
#include <algorithm>
#include <filesystem>
#include <map>

using namespace Qt::StringLiterals;

// Readable QString values in failure messages.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

using Names = std::vector<std::string>;

QString Text(const std::string& s) { return QString::fromStdString(s); }

// A settings file that opens start at start-up; every other line as the options dialog
// saves it by default.
std::string SettingsOpening(const std::string& start)
{
    std::map<int, std::string> lines = {{2, start}, {4, "on"}, {6, "on"}, {8, "off"},
                                        {10, "3"}, {12, "off"}, {14, "off"}, {16, "off"},
                                        {20, "0"}, {22, "0"}, {24, "0"}};
    std::string text = "Pelkorin Ver0.9\r\n";
    for (int n = 1; n < 25; ++n)
        text += (n % 2 ? "[" + std::to_string(n) + "]" : lines[n]) + "\r\n";
    return text;
}

// The program started with start as its start folder.
StartedProgram StartIn(const TempFolder& program, const std::string& start)
{
    program.Write("Pelkorin.ini", SettingsOpening(start));
    StartedProgram p = StartProgram(program.path());
    EXPECT_TRUE(p.startupBoxes.empty());
    return p;
}

QString Dir1Folder(TMain* m) { return Find(m, "Dir1")->property("directory").toString(); }
NameListView* OldFile(TMain* m) { return Find<NameListView>(m, "oldfile"); }

Names OldRows(TMain* m)
{
    Names rows;
    QAbstractItemModel* model = OldFile(m)->model();
    for (int r = 0; r < model->rowCount(); ++r)
        rows.push_back(model->index(r, 0).data(Qt::UserRole).toByteArray().toStdString());
    return rows;
}

QStringList FolderRows(TMain* m)
{
    auto* dir = Find<QAbstractItemView>(m, "Dir1");
    QStringList rows;
    for (int r = 0; r < dir->model()->rowCount(); ++r)
        rows << dir->model()->index(r, 0).data().toString();
    return rows;
}

QString CurrentFolderRow(TMain* m)
{
    return Find<QAbstractItemView>(m, "Dir1")->currentIndex().data().toString();
}

// Presses "次のﾌｫﾙﾀﾞ(&N)" and returns the boxes it showed.
std::vector<SeenBox> PressNext(TMain* m)
{
    auto* button = Find<QPushButton>(m, "Button5");
    EXPECT_EQ(button->text(), u"次のﾌｫﾙﾀﾞ(&N)"_s);
    return RunAnsweringBoxes([&] { button->click(); });
}

// The visible subfolders of a folder in the folder list's order, found without the program.
Names SubfoldersOf(const std::string& folder)
{
    Names names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().native();
        std::error_code isDirError;
        if (name[0] != '.' && entry.is_directory(isDirError))
            names.push_back(name);
    }
    SortListing(names);
    return names;
}

TEST(NextFolder, StepsThroughTheSiblingsAndWrapsToTheFirst)
{
    TempFolder program;
    for (const char* year : {"2003", "2001", "2002"})
        program.MakeFolder(year);
    program.MakeFolder(".trash");
    program.Write("2001/a.jpg");
    program.Write("2002/b.jpg");
    program.Write("2002/B2.jpg");
    program.Write("2003/c.jpg");
    program.Write("top.jpg");
    StartedProgram p = StartIn(program, program / "2001");
    TMain* m = p.main();
    ASSERT_EQ(Dir1Folder(m), Text(program / "2001"));

    const struct { const char* folder; Names rows; } steps[] = {
        {"2002", {"b.jpg", "B2.jpg"}},
        {"2003", {"c.jpg"}},
        {"2001", {"a.jpg"}},
        {"2002", {"b.jpg", "B2.jpg"}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.folder);
        OldFile(m)->selectAllRows();
        EXPECT_TRUE(PressNext(m).empty());
        EXPECT_EQ(Dir1Folder(m), Text(program / s.folder));
        EXPECT_EQ(OldRows(m), s.rows);
        EXPECT_FALSE(OldFile(m)->selectionModel()->hasSelection());
        EXPECT_EQ(CurrentFolderRow(m), QString::fromLatin1(s.folder));
        EXPECT_EQ(FolderRows(m).last(), QString::fromLatin1(s.folder));
    }
}

TEST(NextFolder, ASubfolderNamedLikeItsParentIsFoundByItsOwnRow)
{
    TempFolder program;
    for (const char* sub : {"Photos", "Photos/2020", "Photos/Photos", "Photos/Zoo"})
        program.MakeFolder(sub);
    program.Write("Photos/Photos/inner.jpg");
    program.Write("Photos/Zoo/z.jpg");
    program.Write("Photos/2020/y.jpg");
    StartedProgram p = StartIn(program, program / "Photos/Photos");
    TMain* m = p.main();

    const struct { const char* folder; Names rows; } steps[] = {
        {"Photos/Zoo", {"z.jpg"}},
        {"Photos/2020", {"y.jpg"}},
        {"Photos/Photos", {"inner.jpg"}},
        {"Photos/Zoo", {"z.jpg"}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.folder);
        EXPECT_TRUE(PressNext(m).empty());
        EXPECT_EQ(Dir1Folder(m), Text(program / s.folder));
        EXPECT_EQ(OldRows(m), s.rows);
    }
}

TEST(NextFolder, TheOnlySubfolderIsReadAgain)
{
    TempFolder program;
    program.MakeFolder("only");
    program.Write("only/b.jpg");
    program.Write("top.jpg");
    StartedProgram p = StartIn(program, program / "only");
    TMain* m = p.main();
    OldFile(m)->selectAllRows();
    RunAnsweringBoxes([&] { Find<QPushButton>(m, "Button6")->click(); });
    ASSERT_EQ(Find<NameListView>(m, "NewFile")->rowCount(), 1);

    program.Write("only/a.jpg"); // appears behind the program's back
    EXPECT_TRUE(PressNext(m).empty());
    EXPECT_EQ(Dir1Folder(m), Text(program / "only"));
    EXPECT_EQ(OldRows(m), (Names{"a.jpg", "b.jpg"}));
    EXPECT_FALSE(OldFile(m)->selectionModel()->hasSelection());
    EXPECT_EQ(Find<NameListView>(m, "NewFile")->rowCount(), 0);
}

TEST(NextFolder, AFolderDirectlyUnderTheRootStepsAmongTheRootsSubfolders)
{
    TempFolder program;
    // The temporary folder lies in a folder directly under the root (/tmp).
    const std::string top = "/" + std::filesystem::path(program.path()).relative_path().begin()->native();
    const Names roots = SubfoldersOf("/");
    const auto at = std::find(roots.begin(), roots.end(), top.substr(1));
    ASSERT_NE(at, roots.end()) << top;
    const std::string next = "/" + (at + 1 == roots.end() ? roots.front() : *(at + 1));

    StartedProgram p = StartIn(program, top);
    TMain* m = p.main();
    ASSERT_EQ(Dir1Folder(m), Text(top));
    EXPECT_TRUE(PressNext(m).empty());
    EXPECT_EQ(Dir1Folder(m), Text(next));
    EXPECT_EQ(CurrentFolderRow(m), Text(next.substr(1)));
}

TEST(NextFolder, AtTheRootNothingChanges)
{
    TempFolder program;
    StartedProgram p = StartIn(program, "/");
    TMain* m = p.main();
    ASSERT_EQ(Dir1Folder(m), u"/"_s);
    // The root's own files differ from machine to machine: whatever it lists, a re-read or a
    // reset would show in the rows, the selection or the reset counts.
    const Names rows = OldRows(m);
    const bool selects = !rows.empty();
    if (selects)
        OldFile(m)->setSelectedFlags({true});
    const QStringList folderRows = FolderRows(m);
    QSignalSpy oldfileReset(OldFile(m)->model(), &QAbstractItemModel::modelReset);
    QSignalSpy dirReset(Find<QAbstractItemView>(m, "Dir1")->model(), &QAbstractItemModel::modelReset);

    EXPECT_TRUE(PressNext(m).empty());
    EXPECT_EQ(Dir1Folder(m), u"/"_s);
    EXPECT_EQ(OldRows(m), rows);
    EXPECT_EQ(OldFile(m)->selectionModel()->isRowSelected(0), selects);
    EXPECT_EQ(FolderRows(m), folderRows);
    EXPECT_EQ(CurrentFolderRow(m), u"/"_s);
    EXPECT_EQ(oldfileReset.count(), 0);
    EXPECT_EQ(dirReset.count(), 0);
}

TEST(NextFolder, AHiddenFolderMatchesNoRowAndOpensTheRoot)
{
    TempFolder program;
    program.MakeFolder(".hidden");
    program.MakeFolder("shown");
    program.Write(".hidden/h.jpg");
    StartedProgram p = StartIn(program, program / ".hidden");
    TMain* m = p.main();
    ASSERT_EQ(OldRows(m), Names{"h.jpg"});
    EXPECT_TRUE(PressNext(m).empty());
    EXPECT_EQ(Dir1Folder(m), u"/"_s);
    EXPECT_EQ(CurrentFolderRow(m), u"/"_s);
    EXPECT_EQ(FolderRows(m).size(), static_cast<qsizetype>(SubfoldersOf("/").size() + 1));
}

TEST(NextFolder, FoldersThatVanishedBeforeThePress)
{
    // The current folder alone is gone: its parent no longer lists it, so nothing matches.
    {
        TempFolder program;
        program.MakeFolder("2001");
        program.MakeFolder("2002");
        program.Write("2002/b.jpg");
        StartedProgram p = StartIn(program, program / "2001");
        TMain* m = p.main();
        std::filesystem::remove(program / "2001");
        EXPECT_TRUE(PressNext(m).empty());
        EXPECT_EQ(Dir1Folder(m), u"/"_s);
    }
    // The parent is gone too: it can't be opened, and the lists go back to the program's
    // folder without a word.
    {
        TempFolder program, elsewhere;
        program.Write("p.jpg");
        elsewhere.MakeFolder("album");
        elsewhere.MakeFolder("album/2001");
        elsewhere.MakeFolder("album/2002");
        elsewhere.Write("album/2001/a.jpg");
        StartedProgram p = StartIn(program, elsewhere / "album/2001");
        TMain* m = p.main();
        ASSERT_EQ(OldRows(m), Names{"a.jpg"});
        std::filesystem::remove_all(elsewhere / "album");
        EXPECT_TRUE(PressNext(m).empty());
        EXPECT_EQ(Dir1Folder(m), Text(program.path()));
        EXPECT_EQ(OldRows(m), (Names{"p.jpg", "Pelkorin.ini"}));
    }
}

} // namespace
