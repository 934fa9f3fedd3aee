// The history window: its rows for three executions in two folders, and "ここまで元に戻す"
// down to the oldest, stopped by one that can't come back whole, then finished; the redo after.
#include "rename/companions.h"
#include "rename/renamerun.h"
#include "rename/undo.h"
#include "support/mainwindowfixture.h"
#include "support/tempfolder.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <map>

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

Files FilesIn(const std::string& folder)
{
    Files files;
    for (const auto& e : fs::directory_iterator(folder))
        files[e.path().filename().native()] = ReadFileBytes(e.path());
    return files;
}

// An execution as the window makes it: every file of the folder gets text + its digits.
void ExecuteIn(const std::string& folder, const std::string& text)
{
    std::vector<std::string> names;
    for (const auto& [name, content] : FilesIn(folder))
        names.push_back(name);
    RenameOptions o;
    o.ChangeText = true;
    o.NewText = text;
    ExecutionRecord record;
    const ExecuteHooks hooks{{}, {}, [&](const UndoRecord& r) { return record.Save(r) == RecordSave::Saved; },
                             [&] { record.Renamed(); }, {}};
    ExecuteRenames(folder + "/", names, GroupFiles(names, std::vector<bool>(names.size(), true), false), o, 0, hooks);
}

// A history of the test's own.
class HistoryWindow : public testing::Test {
    void SetUp() override { qputenv("XDG_STATE_HOME", QByteArray::fromStdString(state_.path())); }
    void TearDown() override { qputenv("XDG_STATE_HOME", old_); }
    TempFolder state_;
    QByteArray old_ = qgetenv("XDG_STATE_HOME");
};

struct Step {
    const char* label;
    std::function<void(const TempFolder&)> before; // what happens first
    int row;                                       // chosen row; -1: Redo1 instead
    // Afterwards: the rows newest first without the time, one a line, and the boxes; "{root}"
    // stands for the folders' parent.
    std::string rows;
    std::vector<std::string> boxes;
    Files one, two;
};

TEST_F(HistoryWindow, RowsAndTakingBackDownToARow)
{
    TempFolder root;
    root.MakeFolder("one");
    root.MakeFolder("two");
    for (const char* n : {"one/p1.jpg", "one/p2.jpg", "two/q1.jpg", "two/q2.jpg", "two/q3.jpg"})
        root.Write(n, std::string(n).substr(4));
    ExecuteIn(root / "one", "x");
    ExecuteIn(root / "two", "y");
    ExecuteIn(root / "one", "z");
    StartedProgram p = StartProgram(root / "one");

    const Step steps[] = {
        {"stopped by a taken old name",
         [](const TempFolder& r) { r.Write("two/q2.jpg", "stranger"); },
         2,
         "2個  {root}/one（元に戻し済み）\n3個  {root}/two（一部を元に戻し済み）\n2個  {root}/one",
         {"{root}/two/q2.jpgは存在するため元に戻せませんでした", "1個のファイルを元に戻せませんでした"},
         {{"x1.jpg", "p1.jpg"}, {"x2.jpg", "p2.jpg"}},
         {{"q1.jpg", "q1.jpg"}, {"q2.jpg", "stranger"}, {"y2.jpg", "q2.jpg"}, {"q3.jpg", "q3.jpg"}}},
        {"finished once the name is free",
         [](const TempFolder& r) { fs::remove(r / "two/q2.jpg"); },
         2,
         "2個  {root}/one（元に戻し済み）\n3個  {root}/two（元に戻し済み）\n2個  {root}/one（元に戻し済み）",
         {"元に戻しました"},
         {{"p1.jpg", "p1.jpg"}, {"p2.jpg", "p2.jpg"}},
         {{"q1.jpg", "q1.jpg"}, {"q2.jpg", "q2.jpg"}, {"q3.jpg", "q3.jpg"}}},
        {"the redo renames the one taken back last",
         {},
         -1,
         "2個  {root}/one（元に戻し済み）\n3個  {root}/two（元に戻し済み）\n2個  {root}/one",
         {"やり直しました"},
         {{"x1.jpg", "p1.jpg"}, {"x2.jpg", "p2.jpg"}},
         {{"q1.jpg", "q1.jpg"}, {"q2.jpg", "q2.jpg"}, {"q3.jpg", "q3.jpg"}}},
    };
    const QRegularExpression time(QStringLiteral("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d  "));
    for (const Step& s : steps) {
        SCOPED_TRACE(s.label);
        QStringList rows;
        int shown = s.before ? (s.before(root), 0) : 0;
        const auto boxes = RunAnsweringBoxes(
            [&] {
                if (s.row == -1)
                    Find<QAction>(p.main(), "Redo1")->trigger();
                QTimer::singleShot(0, p.main(), [&] { Find<QAction>(p.main(), "History1")->trigger(); });
                // Until the window has been seen (bounded), then until it is closed.
                const int seen = shown;
                for (int i = 0; i < 500 && shown == seen; ++i)
                    QTest::qWait(10);
                EXPECT_NE(shown, seen) << "the history window never appeared";
                while (QApplication::activeModalWidget())
                    QTest::qWait(10);
            },
            {},
            [&](QWidget* dialog) {
                if (dialog->objectName() != QStringLiteral("History") || !dialog->isVisible())
                    return;
                auto* list = Find<QListWidget>(dialog, "HistoryList");
                auto* undo = Find<QPushButton>(dialog, "HistoryUndo");
                if (shown++ == 0 && s.row >= 0) {
                    EXPECT_FALSE(undo->isEnabled());
                    list->setCurrentRow(s.row);
                    QTimer::singleShot(0, undo, &QPushButton::click);
                    return;
                }
                for (int i = 0; i < list->count(); ++i)
                    rows << list->item(i)->text().remove(time);
                QTimer::singleShot(0, Find<QPushButton>(dialog, "HistoryClose"), &QPushButton::click);
                shown = -1000;
            });
        QStringList seen, expected;
        for (const SeenBox& b : boxes)
            seen << b.Text;
        for (const std::string& t : s.boxes)
            expected << QString::fromStdString(t).replace(QStringLiteral("{root}"), QString::fromStdString(root.path()));
        EXPECT_EQ(seen, expected);
        EXPECT_EQ(rows.join(QStringLiteral("\n")).replace(QString::fromStdString(root.path()), QStringLiteral("{root}")),
                  QString::fromStdString(s.rows));
        EXPECT_EQ(FilesIn(root / "one"), s.one);
        EXPECT_EQ(FilesIn(root / "two"), s.two);
    }
}

} // namespace
