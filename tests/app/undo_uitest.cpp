// Undo1: the way back from the last execution, driven through the real window on real
// folders, with the record in a state folder of the test's own.
#include "filelist/widgets/namelistview.h"
#include "platform/statefile.h"
#include "rename/renamerun.h"
#include "rename/undo.h"
#include "support/mainwindowfixture.h"
#include "support/tempfolder.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <filesystem>
#include <functional>
#include <map>

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>; // name -> content
using Names = std::vector<std::string>;
using FileList = std::vector<std::pair<std::string, std::string>>;

const QString kUndone = QStringLiteral("元に戻しました");
const QString kExecuted = QStringLiteral("　　　実行処理が終了しました　　　　");
QString Taken(const std::string& path) { return QString::fromStdString(path) + QStringLiteral("は存在するため元に戻せませんでした"); }

struct Opts {
    bool text = true; // "a1.jpg" -> "b1.jpg"
    bool renumber = false; // "01.jpg" -> "00.jpg": two digits from 0
};

Files FilesIn(const std::string& folder)
{
    Files files;
    for (const auto& e : fs::directory_iterator(folder))
        if (!e.is_directory())
            files[e.path().filename().native()] = ReadFileBytes(e.path());
    return files;
}

QStringList Texts(const std::vector<SeenBox>& boxes)
{
    QStringList texts;
    for (const SeenBox& b : boxes)
        texts << b.Text;
    return texts;
}

// Each test keeps its record in a state folder of its own.
class UndoTest : public testing::Test {
protected:
    void SetUp() override
    {
        old_ = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", QByteArray::fromStdString(state_.path()));
    }
    void TearDown() override { qputenv("XDG_STATE_HOME", old_); }
    const TempFolder& state() const { return state_; }

private:
    TempFolder state_;
    QByteArray old_;
};

QAction* Undo1(TMain* m) { return Find<QAction>(m, "Undo1"); }

// Executes on the selected rows, all rows when none is given.
std::vector<SeenBox> Execute(TMain* m, const Opts& o = {}, const std::vector<bool>& rows = {})
{
    Find<QCheckBox>(m, "Check1")->setChecked(o.text);
    Find<QLineEdit>(m, "textvol")->setText(QStringLiteral("b"));
    Find<QCheckBox>(m, "Check2")->setChecked(o.renumber);
    Find<QSpinBox>(m, "UpDown1")->setValue(2);
    Find<QCheckBox>(m, "Check3")->setChecked(o.renumber);
    Find<QLineEdit>(m, "text2")->setText(QStringLiteral("0"));
    Find<QCheckBox>(m, "Check4")->setChecked(false);
    Find<QPushButton>(m, "Button3")->click();
    if (!rows.empty())
        Find<NameListView>(m, "oldfile")->setSelectedFlags(rows);
    return RunAnsweringBoxes([&] { Find<QPushButton>(m, "Button7")->click(); });
}

std::vector<SeenBox> Undo(TMain* m)
{
    return RunAnsweringBoxes([&] { Undo1(m)->trigger(); });
}

TEST_F(UndoTest, MenuEntrySitsBetweenOpenAndExit)
{
    ProgramInWork w(FileList{{"a.jpg", ""}});
    QAction* undo = Undo1(w.m());
    EXPECT_EQ(undo->text(), QStringLiteral("元に戻す(&U)"));
    EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_FALSE(undo->isEnabled());
    QList<QAction*> entries;
    for (QAction* a : Find<QAction>(w.m(), "File2")->menu()->actions())
        if (!a->isSeparator())
            entries << a;
    EXPECT_EQ(entries, (QList<QAction*>{Find<QAction>(w.m(), "Open1"), undo, Find<QAction>(w.m(), "Exit1")}));
}

TEST_F(UndoTest, UndoOpensTheExecutionsFolderAndRestoresEveryName)
{
    ProgramInWork w(FileList{{"a1.jpg", "1"}, {"a2.jpg", "2"}, {"a3.jpg", "3"}}, {"sub"});
    EXPECT_EQ(Texts(Execute(w.m())), QStringList{kExecuted});
    EXPECT_EQ(FilesIn(w.work()), (Files{{"b1.jpg", "1"}, {"b2.jpg", "2"}, {"b3.jpg", "3"}}));
    EXPECT_TRUE(Undo1(w.m())->isEnabled());

    // Elsewhere meanwhile: the undo goes back to the folder of the execution.
    auto* dir = Find<QAbstractItemView>(w.m(), "Dir1");
    const QModelIndex sub = dir->model()->match(dir->model()->index(0, 0), Qt::DisplayRole, QStringLiteral("sub")).value(0);
    ASSERT_TRUE(sub.isValid());
    QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, dir->visualRect(sub).center());
    QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, dir->visualRect(sub).center());
    ASSERT_EQ(dir->property("directory").toString().toStdString(), w.work() + "/sub");

    EXPECT_EQ(Texts(Undo(w.m())), QStringList{kUndone});
    EXPECT_EQ(dir->property("directory").toString().toStdString(), w.work());
    EXPECT_EQ(FilesIn(w.work()), (Files{{"a1.jpg", "1"}, {"a2.jpg", "2"}, {"a3.jpg", "3"}}));
    EXPECT_EQ(RowBytes(w.list("oldfile")), (Names{"a1.jpg", "a2.jpg", "a3.jpg"}));
    EXPECT_EQ(w.list("NewFile")->rowCount(), 0);
    EXPECT_EQ(w.counter(), QStringLiteral("003/003"));
    EXPECT_FALSE(Undo1(w.m())->isEnabled());
    EXPECT_FALSE(fs::exists(UndoRecordPath()));
}

// After an execution, something happens to the folder; then the undo.
struct Meanwhile {
    const char* name;
    Files files;
    Opts opts;
    std::function<void(const TempFolder&)> change; // on root(), files under "work/"
    Files after;
    std::vector<std::string> taken; // old names reported as taken
};

class UndoAfterChanges : public UndoTest, public testing::WithParamInterface<Meanwhile> {};

TEST_P(UndoAfterChanges, RestoresOnlyTheVeryFilesWhoseOldNamesAreFree)
{
    const Meanwhile& c = GetParam();
    ProgramInWork w({c.files.begin(), c.files.end()});
    Execute(w.m(), c.opts);
    c.change(w.root());
    QStringList expected;
    for (const std::string& name : c.taken)
        expected << Taken(w.work() + "/" + name);
    expected << kUndone;
    EXPECT_EQ(Texts(Undo(w.m())), expected);
    EXPECT_EQ(FilesIn(w.work()), c.after);
    EXPECT_FALSE(Undo1(w.m())->isEnabled());
}

const Files kTwo{{"a1.jpg", "1"}, {"a2.jpg", "2"}};

INSTANTIATE_TEST_SUITE_P(
    Undo, UndoAfterChanges,
    testing::Values(
        Meanwhile{"Chain", {{"01.jpg", "1"}, {"02.jpg", "2"}, {"03.jpg", "3"}}, {false, true},
                  [](const TempFolder&) {}, {{"01.jpg", "1"}, {"02.jpg", "2"}, {"03.jpg", "3"}}, {}},
        Meanwhile{"OldNameTaken", kTwo, {}, [](const TempFolder& r) { r.Write("work/a1.jpg", "new"); },
                  {{"a1.jpg", "new"}, {"b1.jpg", "1"}, {"a2.jpg", "2"}}, {"a1.jpg"}},
        Meanwhile{"RenamedAgain", kTwo, {}, [](const TempFolder& r) { fs::rename(r / "work/b1.jpg", r / "work/c1.jpg"); },
                  {{"c1.jpg", "1"}, {"a2.jpg", "2"}}, {}},
        Meanwhile{"Deleted", kTwo, {}, [](const TempFolder& r) { fs::remove(r / "work/b1.jpg"); },
                  {{"a2.jpg", "2"}}, {}},
        // Made aside, then put in place: the renamed file is gone, a stranger holds its name.
        Meanwhile{"StrangerUnderNewName", kTwo, {},
                  [](const TempFolder& r) {
                      r.Write("stranger", "s");
                      fs::rename(r / "stranger", r / "work/b1.jpg");
                  },
                  {{"b1.jpg", "s"}, {"a2.jpg", "2"}}, {}},
        Meanwhile{"NameMovedAway", kTwo, {},
                  [](const TempFolder& r) {
                      fs::rename(r / "work/b2.jpg", r / "work/x.jpg");
                      r.Write("work/b2.jpg", "other");
                  },
                  {{"a1.jpg", "1"}, {"b2.jpg", "other"}, {"x.jpg", "2"}}, {}}),
    [](const testing::TestParamInfo<Meanwhile>& info) { return std::string(info.param.name); });

TEST_F(UndoTest, RecordOutlivesTheWindows)
{
    TempFolder root;
    root.MakeFolder("work");
    root.Write("work/01.jpg", "1");
    root.Write("work/02.jpg", "2");
    {
        StartedProgram p = StartProgram(root / "work");
        Execute(p.main(), {false, true});
    }
    ASSERT_EQ(FilesIn(root / "work"), (Files{{"00.jpg", "1"}, {"01.jpg", "2"}}));
    StartedProgram again = StartProgram(root / "work");
    EXPECT_TRUE(Undo1(again.main())->isEnabled());
    EXPECT_EQ(Texts(Undo(again.main())), QStringList{kUndone});
    EXPECT_EQ(FilesIn(root / "work"), (Files{{"01.jpg", "1"}, {"02.jpg", "2"}}));
}

// The program died during an execution: the record was on disk, only two renames were done.
TEST_F(UndoTest, UndoesWhatAnInterruptedExecutionDid)
{
    TempFolder root;
    root.MakeFolder("work");
    for (const char* n : {"01.jpg", "02.jpg", "03.jpg"})
        root.Write(std::string("work/") + n, n);
    struct Died {};
    ExecuteHooks hooks;
    hooks.BeforeRenames = [](const UndoRecord& r) { platform::WriteFileDurably(UndoRecordPath(), EncodeUndoRecord(r)); };
    hooks.Progress = [](int n, int) {
        if (n == 3)
            throw Died{};
    };
    RenameOptions o;
    o.PadDigits = true;
    o.DigitCount = 2;
    o.Sequential = true;
    EXPECT_THROW(ExecuteRenames(root / "work/", {"01.jpg", "02.jpg", "03.jpg"}, {true, true, true}, o, 0, hooks), Died);
    ASSERT_EQ(FilesIn(root / "work"), (Files{{"00.jpg", "01.jpg"}, {"01.jpg", "02.jpg"}, {"03.jpg", "03.jpg"}}));

    StartedProgram p = StartProgram(root.path());
    ASSERT_TRUE(Undo1(p.main())->isEnabled());
    EXPECT_EQ(Texts(Undo(p.main())), QStringList{kUndone});
    EXPECT_EQ(FilesIn(root / "work"), (Files{{"01.jpg", "01.jpg"}, {"02.jpg", "02.jpg"}, {"03.jpg", "03.jpg"}}));
    EXPECT_EQ(RowBytes(Find<NameListView>(p.main(), "oldfile")), (Names{"01.jpg", "02.jpg", "03.jpg"}));
}

TEST_F(UndoTest, EnabledExactlyWhileAnExecutionCanBeUndone)
{
    // A damaged record is no record.
    platform::WriteFileDurably(UndoRecordPath(), "PELKUNDO damaged");
    ProgramInWork w(FileList{{"a1.jpg", "1"}, {"b1.jpg", "taken"}, {"a2.jpg", "2"}});
    EXPECT_FALSE(Undo1(w.m())->isEnabled());

    // Nothing renamed: no record.
    Execute(w.m(), {}, {true, false, false}); // a1.jpg, whose new name is taken
    EXPECT_FALSE(Undo1(w.m())->isEnabled());

    EXPECT_EQ(Texts(Execute(w.m())).back(), kExecuted); // a2 -> b2
    EXPECT_TRUE(Undo1(w.m())->isEnabled());
    // Again: every new name taken, nothing renamed; the one before can still be undone.
    Execute(w.m());
    EXPECT_TRUE(Undo1(w.m())->isEnabled());
    EXPECT_EQ(Texts(Undo(w.m())), QStringList{kUndone});
    EXPECT_EQ(FilesIn(w.work()), (Files{{"a1.jpg", "1"}, {"b1.jpg", "taken"}, {"a2.jpg", "2"}}));
    EXPECT_FALSE(Undo1(w.m())->isEnabled());
}

TEST_F(UndoTest, ARecordThatCantBeWrittenChangesNothingTheUserSees)
{
    ProgramInWork w(FileList{{"a1.jpg", "1"}});
    state().Write("file");
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString(state() / "file"));
    EXPECT_EQ(Texts(Execute(w.m())), QStringList{kExecuted});
    EXPECT_EQ(FilesIn(w.work()), (Files{{"b1.jpg", "1"}}));
    EXPECT_FALSE(Undo1(w.m())->isEnabled());
}

} // namespace
