// "中止" pressed in the middle of a long run: what lands on disk is exactly what was done.
#include "support/mainwindowfixture.h"
#include "support/tempfolder.h"
#include "ui/progressrun.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
constexpr int kFiles = 3000;

int CountStarting(const std::vector<std::string>& names, char c)
{
    return static_cast<int>(std::count_if(names.begin(), names.end(), [c](const std::string& n) { return n[0] == c; }));
}

// The n of the stop box, -1 when none was shown.
int StoppedCount(const std::vector<SeenBox>& boxes)
{
    static const QRegularExpression re(QStringLiteral("^中止しました: (\\d+)個のファイルを処理しました$"));
    for (const SeenBox& b : boxes)
        if (const auto m = re.match(b.Text); m.hasMatch())
            return m.captured(1).toInt();
    return -1;
}

// Presses "中止" on the progress dialog once some files are done.
void PressStop(QWidget* modal)
{
    if (auto* p = qobject_cast<QProgressDialog*>(modal); p && p->objectName() == QStringLiteral("Progress") && p->value() >= 10) {
        EXPECT_TRUE(p->labelText().endsWith(QStringLiteral(" / ") + QString::number(kFiles))) << p->labelText().toStdString();
        for (auto* b : p->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("中止"))
                b->click();
    }
}

class ProgressStop : public testing::Test {
protected:
    void SetUp() override
    {
        old_ = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", QByteArray::fromStdString(state_.path()));
        ProgressRun::SetTiming(0, 0);
    }
    void TearDown() override
    {
        ProgressRun::SetTiming(1000, 50);
        qputenv("XDG_STATE_HOME", old_);
    }
    TempFolder state_;
    QByteArray old_;
};

std::vector<std::pair<std::string, std::string>> ManyFiles()
{
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; i < kFiles; ++i)
        files.push_back({"a" + std::to_string(100000 + i) + ".jpg", std::to_string(i)});
    return files;
}

std::vector<SeenBox> Execute(TMain* m, bool stop)
{
    Find<QCheckBox>(m, "Check1")->setChecked(true);
    Find<QLineEdit>(m, "textvol")->setText(QStringLiteral("b"));
    Find<QPushButton>(m, "Button3")->click();
    return RunAnsweringBoxes([&] { Find<QPushButton>(m, "Button7")->click(); }, {},
                             stop ? PressStop : std::function<void(QWidget*)>{});
}

TEST_F(ProgressStop, StoppedExecutionRenamesWhatItSaysAndUndoBringsBackExactlyThose)
{
    ProgramInWork w(ManyFiles());
    const int n = StoppedCount(Execute(w.m(), true));
    ASSERT_GT(n, 0);
    ASSERT_LT(n, kFiles);
    const auto disk = w.OnDisk();
    EXPECT_EQ(CountStarting(disk, 'b'), n);
    EXPECT_EQ(CountStarting(disk, 'a'), kFiles - n);
    // The untouched files keep their contents under their old names.
    EXPECT_EQ(ReadFileBytes(fs::path(w.work()) / ("a" + std::to_string(100000 + kFiles - 1) + ".jpg")),
              std::to_string(kFiles - 1));
    ProgressRun::SetTiming(1000, 50);
    RunAnsweringBoxes([&] { Find<QAction>(w.m(), "Undo1")->trigger(); });
    EXPECT_EQ(CountStarting(w.OnDisk(), 'a'), kFiles);
}

TEST_F(ProgressStop, StoppedUndoLeavesTheRestForTheNextUndo)
{
    ProgramInWork w(ManyFiles());
    ProgressRun::SetTiming(1000, 50);
    Execute(w.m(), false);
    ASSERT_EQ(CountStarting(w.OnDisk(), 'b'), kFiles);
    ProgressRun::SetTiming(0, 0);
    const int n = StoppedCount(RunAnsweringBoxes([&] { Find<QAction>(w.m(), "Undo1")->trigger(); }, {}, PressStop));
    ASSERT_GT(n, 0);
    ASSERT_LT(n, kFiles);
    EXPECT_EQ(CountStarting(w.OnDisk(), 'a'), n);
    ProgressRun::SetTiming(1000, 50);
    RunAnsweringBoxes([&] { Find<QAction>(w.m(), "Undo1")->trigger(); });
    EXPECT_EQ(CountStarting(w.OnDisk(), 'a'), kFiles);
}

TEST_F(ProgressStop, StoppedDeletionDeletesNoMoreFiles)
{
    ProgramInWork w(ManyFiles());
    std::vector<int> all(kFiles);
    for (int i = 0; i < kFiles; ++i)
        all[i] = i;
    w.SelectRows(all);
    RunAnsweringBoxes([&] { Find<QPushButton>(w.m(), "Button8")->click(); }, {}, PressStop);
    const auto left = static_cast<int>(w.OnDisk().size());
    EXPECT_GT(left, 0);
    EXPECT_LT(left, kFiles - 9);
    // The counter shows how many were deleted.
    EXPECT_TRUE(w.counter().contains(QString::number(kFiles - left).right(3))) << w.counter().toStdString();
}

} // namespace
