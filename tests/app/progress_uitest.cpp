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

#include <chrono>
#include <filesystem>
#include <functional>

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

std::vector<SeenBox> Trigger(TMain* m, const char* entry, bool stop)
{
    ProgressRun::SetTiming(stop ? 0 : 1000, stop ? 0 : 50);
    return RunAnsweringBoxes([&] { Find<QAction>(m, entry)->trigger(); }, {},
                             stop ? PressStop : std::function<void(QWidget*)>{});
}

struct StopCase {
    const char* label;
    // Brings the window to the run to stop, runs it with "中止" pressed, and checks what is on
    // disk and on screen afterwards.
    std::function<void(ProgramInWork&)> play;
};

const StopCase kStopCases[] = {
    {"execution: renames what it says, and the undo brings back exactly those",
     [](ProgramInWork& w) {
         const int n = StoppedCount(Execute(w.m(), true));
         ASSERT_GT(n, 0);
         ASSERT_LT(n, kFiles);
         const auto disk = w.OnDisk();
         EXPECT_EQ(CountStarting(disk, 'b'), n);
         EXPECT_EQ(CountStarting(disk, 'a'), kFiles - n);
         // The untouched files keep their contents under their old names.
         EXPECT_EQ(ReadFileBytes(fs::path(w.work()) / ("a" + std::to_string(100000 + kFiles - 1) + ".jpg")),
                   std::to_string(kFiles - 1));
         Trigger(w.m(), "Undo1", false);
         EXPECT_EQ(CountStarting(w.OnDisk(), 'a'), kFiles);
     }},
    {"undo: leaves the rest for the next undo",
     [](ProgramInWork& w) {
         ProgressRun::SetTiming(1000, 50);
         Execute(w.m(), false);
         ASSERT_EQ(CountStarting(w.OnDisk(), 'b'), kFiles);
         const int n = StoppedCount(Trigger(w.m(), "Undo1", true));
         ASSERT_GT(n, 0);
         ASSERT_LT(n, kFiles);
         EXPECT_EQ(CountStarting(w.OnDisk(), 'a'), n);
         Trigger(w.m(), "Undo1", false);
         EXPECT_EQ(CountStarting(w.OnDisk(), 'a'), kFiles);
     }},
    {"redo: what it renamed again is what the next undo takes back",
     [](ProgramInWork& w) {
         ProgressRun::SetTiming(1000, 50);
         Execute(w.m(), false);
         Trigger(w.m(), "Undo1", false);
         ASSERT_EQ(CountStarting(w.OnDisk(), 'a'), kFiles);
         const int n = StoppedCount(Trigger(w.m(), "Redo1", true));
         ASSERT_GT(n, 0);
         ASSERT_LT(n, kFiles);
         EXPECT_EQ(CountStarting(w.OnDisk(), 'b'), n);
         Trigger(w.m(), "Undo1", false);
         EXPECT_EQ(CountStarting(w.OnDisk(), 'a'), kFiles);
         Trigger(w.m(), "Redo1", false);
         EXPECT_EQ(CountStarting(w.OnDisk(), 'b'), kFiles);
     }},
    {"deletion: deletes no more files",
     [](ProgramInWork& w) {
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
     }},
    {"capture-date sort: leaves the order as it was",
     [](ProgramInWork& w) {
         // Modified in the reverse order of their names: a whole sort turns the list round.
         const auto now = fs::file_time_type::clock::now();
         for (int i = 0; i < kFiles; ++i)
             fs::last_write_time(fs::path(w.work()) / ("a" + std::to_string(100000 + i) + ".jpg"), now - std::chrono::seconds(2 * i));
         const std::vector<std::string> before = RowBytes(w.list("oldfile"));
         ASSERT_EQ(before, w.OnDisk());
         Trigger(w.m(), "N15", true);
         EXPECT_EQ(RowBytes(w.list("oldfile")), before);
         Trigger(w.m(), "N15", false);
         EXPECT_EQ(RowBytes(w.list("oldfile")), std::vector<std::string>(before.rbegin(), before.rend()));
     }},
};

TEST_F(ProgressStop, WhatLandsOnDiskIsWhatWasDone)
{
    for (const StopCase& c : kStopCases) {
        SCOPED_TRACE(c.label);
        ProgressRun::SetTiming(0, 0);
        ProgramInWork w(ManyFiles());
        c.play(w);
    }
}

} // namespace
