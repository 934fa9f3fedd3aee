// Undo1: the way back from the last execution, driven through the real window on real
// folders, with the record in a state folder of the test's own.
#include "base/errors.h"
#include "filelist/widgets/namelistview.h"
#include "platform/statefile.h"
#include "rename/history.h"
#include "rename/renamerun.h"
#include "rename/undo.h"
#include "support/mainwindowfixture.h"
#include "support/permissionoverride.h"
#include "support/tempfolder.h"
#include "ui/messages.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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
std::vector<SeenBox> Execute(TMain* m, const Opts& o = {}, const std::vector<bool>& rows = {},
                             const BoxAnswer& answer = {})
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
    return RunAnsweringBoxes([&] { Find<QPushButton>(m, "Button7")->click(); }, answer);
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
    QAction* redo = Find<QAction>(w.m(), "Redo1");
    EXPECT_EQ(redo->shortcuts(), (QList<QKeySequence>{Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}));
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(entries, (QList<QAction*>{Find<QAction>(w.m(), "Open1"), undo, redo, Find<QAction>(w.m(), "History1"),
                                        Find<QAction>(w.m(), "Exit1")}));
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
    int left = 0;                    // very files that did not come back
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
    expected << (c.left > 0 ? QStringLiteral("%1個のファイルを元に戻せませんでした").arg(c.left) : kUndone);
    EXPECT_EQ(Texts(Undo(w.m())), expected);
    EXPECT_EQ(FilesIn(w.work()), c.after);
    EXPECT_EQ(Undo1(w.m())->isEnabled(), c.left > 0);
}

const Files kTwo{{"a1.jpg", "1"}, {"a2.jpg", "2"}};

INSTANTIATE_TEST_SUITE_P(
    Undo, UndoAfterChanges,
    testing::Values(
        Meanwhile{"Chain", {{"01.jpg", "1"}, {"02.jpg", "2"}, {"03.jpg", "3"}}, {false, true},
                  [](const TempFolder&) {}, {{"01.jpg", "1"}, {"02.jpg", "2"}, {"03.jpg", "3"}}, {}},
        Meanwhile{"OldNameTaken", kTwo, {}, [](const TempFolder& r) { r.Write("work/a1.jpg", "new"); },
                  {{"a1.jpg", "new"}, {"b1.jpg", "1"}, {"a2.jpg", "2"}}, {"a1.jpg"}, 1},
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
    hooks.BeforeRenames = [](const UndoRecord& r) {
        platform::WriteFileDurably(UndoRecordPath(), EncodeUndoRecord(r));
        return true;
    };
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

// --- The undo keeps its word: what the user sees when it can't do everything. ---

const QString kQuestion = QStringLiteral("元に戻すための記録を書けません");
const QString kBusy = QStringLiteral("別のプログラムが実行の記録を使っています");

// Clicks "はい(&Y)" in a box that has it; other boxes get their default button.
QAbstractButton* Yes(QMessageBox* box)
{
    for (QAbstractButton* b : box->buttons())
        if (b->text() == QStringLiteral("はい(&Y)"))
            return b;
    return nullptr;
}

struct Scene {
    ProgramInWork& w;
    const TempFolder& state;
    // The record of the first execution, in the history.
    std::string record() const
    {
        const std::vector<HistoryItem> items = ReadHistory();
        return items.empty() ? std::string("(none)") : HistoryRecordPath(items.back());
    }
    std::string history() const { return state / "pelkorin/history"; }
};

struct Promise {
    const char* name;
    // Plays the story after a first execution (a1, a2 -> b1, b2); returns the boxes of its
    // last step.
    std::function<std::vector<SeenBox>(Scene&)> play;
    QStringList boxes; // texts of the last step's boxes; "{work}" stands for the folder
    Files after;       // in the folder of the first execution, at the end
    bool undoEnabled;
};

class UndoPromise : public UndoTest, public testing::WithParamInterface<Promise> {};

TEST_P(UndoPromise, SaysWhatItDidAndKeepsWhatIsLeft)
{
    const Promise& c = GetParam();
    ProgramInWork w(FileList{{"a1.jpg", "1"}, {"a2.jpg", "2"}});
    ASSERT_EQ(Texts(Execute(w.m())), QStringList{kExecuted});
    Scene scene{w, state()};
    const std::vector<SeenBox> boxes = c.play(scene);
    QStringList expected;
    for (QString text : c.boxes)
        expected << text.replace(QStringLiteral("{work}"), QString::fromStdString(w.work()))
                        .replace(QStringLiteral("{record}"), QString::fromStdString(scene.record()))
                        .replace(QStringLiteral("{state}"), QString::fromStdString(state().path()));
    QStringList seen = Texts(boxes);
    // The question goes on to say what follows; its beginning is fixed.
    for (QString& text : seen)
        if (text.startsWith(kQuestion))
            text = kQuestion;
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(FilesIn(w.root() / "work"), c.after);
    EXPECT_EQ(Undo1(w.m())->isEnabled(), c.undoEnabled);
}

// Runs step with the folder read-only for the test, as for a user who can't write it.
template <typename Step>
auto ReadOnly(const std::string& folder, Step step)
{
    chmod(folder.c_str(), 0555);
    const auto restore = qScopeGuard([&] { chmod(folder.c_str(), 0755); });
    const WithoutPermissionOverride asAUser;
    return step();
}

const QString kNotUndone2 = QStringLiteral("2個のファイルを元に戻せませんでした");

INSTANTIATE_TEST_SUITE_P(
    Undo, UndoPromise,
    testing::Values(
        // Nothing can come back; the record keeps both, and a second undo finishes.
        Promise{"ReadOnlyFolderThenAgain",
                [](Scene& s) {
                    EXPECT_EQ(Texts(ReadOnly(s.w.work(), [&] { return Undo(s.w.m()); })), QStringList{kNotUndone2});
                    EXPECT_EQ(FilesIn(s.w.work()), (Files{{"b1.jpg", "1"}, {"b2.jpg", "2"}}));
                    EXPECT_TRUE(Undo1(s.w.m())->isEnabled());
                    EXPECT_EQ(LoadUndoRecord().value_or(UndoRecord{}).Entries.size(), 2u);
                    return Undo(s.w.m());
                },
                {kUndone}, {{"a1.jpg", "1"}, {"a2.jpg", "2"}}, false},
        // One old name taken: its box, then the count; the record keeps exactly that entry.
        Promise{"OldNameTakenThenFreed",
                [](Scene& s) {
                    s.w.root().Write("work/a1.jpg", "new");
                    EXPECT_EQ(Texts(Undo(s.w.m())),
                              (QStringList{Taken(s.w.work() + "/a1.jpg"), QStringLiteral("1個のファイルを元に戻せませんでした")}));
                    const std::optional<UndoRecord> kept = LoadUndoRecord();
                    EXPECT_TRUE(kept && kept->Entries.size() == 1 && kept->Entries[0].OldName == "a1.jpg");
                    fs::remove(s.w.root() / "work/a1.jpg");
                    return Undo(s.w.m());
                },
                {kUndone}, {{"a1.jpg", "1"}, {"a2.jpg", "2"}}, false},
        // Moved away, another folder made at its path: not the execution's folder.
        Promise{"FolderReplacedAtItsPath",
                [](Scene& s) {
                    const std::string before = ReadFileBytes(s.record());
                    fs::rename(s.w.work(), s.w.root() / "moved");
                    s.w.root().MakeFolder("work");
                    s.w.root().Write("work/b1.jpg", "other");
                    const auto boxes = Undo(s.w.m());
                    EXPECT_EQ(ReadFileBytes(s.record()), before);
                    EXPECT_EQ(FilesIn(s.w.root() / "moved"), (Files{{"b1.jpg", "1"}, {"b2.jpg", "2"}}));
                    return boxes;
                },
                {QString::fromStdString(ErrorBoxText(FileErrorMessage("フォルダを開けません", "{work}", ENOENT)))},
                {{"b1.jpg", "other"}}, true},
        // The record can't be written: "いいえ" renames nothing, and the first execution can
        // still be undone.
        Promise{"UnwritableStateAnsweredNo",
                [](Scene& s) {
                    return ReadOnly(s.history(), [&] { return Execute(s.w.m(), {false, true}); });
                },
                {kQuestion}, {{"b1.jpg", "1"}, {"b2.jpg", "2"}}, true},
        // "はい" renames, and Undo1 can no longer reach the first execution.
        Promise{"UnwritableStateAnsweredYes",
                [](Scene& s) {
                    return ReadOnly(s.history(), [&] { return Execute(s.w.m(), {false, true}, {}, Yes); });
                },
                {kQuestion, kExecuted}, {{"b00.jpg", "1"}, {"b01.jpg", "2"}}, false},
        // Not even the old record can be removed or emptied: this program no longer uses it.
        Promise{"UnwritableStateOldRecordRemains",
                [](Scene& s) {
                    const std::string record = s.record();
                    chmod(record.c_str(), 0444);
                    auto boxes = ReadOnly(s.history(), [&] { return Execute(s.w.m(), {false, true}, {}, Yes); });
                    EXPECT_TRUE(fs::exists(record));
                    EXPECT_FALSE(LoadUndoRecord());
                    EXPECT_TRUE(boxes.size() == 2 && boxes[0].Text.contains(QString::fromStdString(s.history())));
                    return boxes;
                },
                {kQuestion, kExecuted}, {{"b00.jpg", "1"}, {"b01.jpg", "2"}}, false},
        // Another program executes while this run, which renames nothing, is under way: its
        // newer record stays, and so does the first.
        Promise{"NewerRecordOfAnotherProgramStays",
                [](Scene& s) {
                    s.w.root().Write("work/c1.jpg", "taken");
                    const UndoRecord newer{"/elsewhere", {{"x", "y", 1, 2, 3}}, 4, 5, 6};
                    const auto boxes = RunAnsweringBoxes(
                        [&] {
                            Find<QLineEdit>(s.w.m(), "textvol")->setText(QStringLiteral("c"));
                            Find<NameListView>(s.w.m(), "oldfile")->setSelectedFlags({true, false});
                            Find<QPushButton>(s.w.m(), "Button7")->click();
                        },
                        [&](QMessageBox* box) -> QAbstractButton* {
                            // The taken box comes while the run is under way.
                            if (box->text() != kExecuted)
                                AddToHistory(newer, 1);
                            return nullptr;
                        });
                    const std::vector<HistoryItem> items = ReadHistory();
                    EXPECT_TRUE(items.size() == 2 && items.back().Folder == "/elsewhere");
                    return boxes;
                },
                {QStringLiteral("{work}/c1.jpgは存在するため変更できませんでした"), kExecuted},
                {{"b1.jpg", "1"}, {"b2.jpg", "2"}, {"c1.jpg", "taken"}}, true},
        // A stopped program holds the records' lock: neither an execution nor an undo renames
        // anything, each says why, and a window still starts.
        Promise{"AnotherProgramHoldsTheLock",
                [](Scene& s) {
                    const int fd = open((s.state / "pelkorin/last-execution.lock").c_str(), O_RDWR | O_CREAT, 0600);
                    EXPECT_EQ(flock(fd, LOCK_EX), 0);
                    const auto release = qScopeGuard([&] { close(fd); });
                    EXPECT_EQ(Texts(Execute(s.w.m(), {false, true})), QStringList{kBusy});
                    EXPECT_TRUE(Undo1(StartProgram(s.w.work()).main())->isEnabled());
                    return Undo(s.w.m());
                },
                {kBusy}, {{"b1.jpg", "1"}, {"b2.jpg", "2"}}, true},
        // Taken back while the state folder can't be changed: the box says so, and neither
        // this window nor a later one offers an undo that would do nothing.
        Promise{"RecordCantBeRemovedAfterUndo",
                [](Scene& s) {
                    chmod(s.record().c_str(), 0444);
                    auto boxes = ReadOnly(s.history(), [&] { return Undo(s.w.m()); });
                    EXPECT_TRUE(fs::exists(s.record()));
                    EXPECT_FALSE(Undo1(StartProgram(s.w.work()).main())->isEnabled());
                    return boxes;
                },
                {kUndone + QStringLiteral("\n実行の記録を書き換えられません: {record}")},
                {{"a1.jpg", "1"}, {"a2.jpg", "2"}}, false}),
    [](const testing::TestParamInfo<Promise>& info) { return std::string(info.param.name); });

// Temporary files of the record that a crash left behind are gone after the next start; the
// record of an older version is taken into the history.
TEST_F(UndoTest, LeftoverTemporaryFilesGoAtStart)
{
    TempFolder root;
    root.MakeFolder("work");
    state().MakeFolder("pelkorin");
    const std::string record = state() / "pelkorin/last-execution.undo";
    platform::WriteFileDurably(record, EncodeUndoRecord({root / "work", {{"a", "b", 1, 2}}}));
    state().Write("pelkorin/last-execution.undo.tmpA1b2C3", "half");
    state().Write("pelkorin/last-execution.undo.tmpzzzzzz");
    StartedProgram p = StartProgram(root / "work");
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(state() / "pelkorin"))
        left.push_back(e.path().filename());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"history", "last-execution.lock"}));
    EXPECT_TRUE(Undo1(p.main())->isEnabled());
}

} // namespace
