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
#include <numeric>

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

// The run "中止" stops, after the entries run whole before it: of an execution, an undo or a
// redo, the stop box's count is the files counted under their new first letter, and the next
// undo brings back every name; a deletion and a sort are checked by check.
struct StopCase {
    const char* label;
    std::vector<const char*> before;
    const char* stopped;
    char counted;
    std::function<void(ProgramInWork&)> check;
};

std::vector<SeenBox> Act(ProgramInWork& w, const char* entry, bool stop)
{
    ProgressRun::SetTiming(stop ? 0 : 1000, stop ? 0 : 50);
    if (std::string(entry) == "Button7")
        return Execute(w.m(), stop);
    if (std::string(entry) == "Button8")
        return RunAnsweringBoxes([&] { Find<QPushButton>(w.m(), entry)->click(); }, {}, PressStop);
    return RunAnsweringBoxes([&] { Find<QAction>(w.m(), entry)->trigger(); }, {},
                             stop ? PressStop : std::function<void(QWidget*)>{});
}

const StopCase kStopCases[] = {
    {"execution", {}, "Button7", 'b', [](ProgramInWork& w) {
         // The untouched files keep their contents under their old names.
         EXPECT_EQ(ReadFileBytes(fs::path(w.work()) / ("a" + std::to_string(100000 + kFiles - 1) + ".jpg")),
                   std::to_string(kFiles - 1));
     }},
    {"undo", {"Button7"}, "Undo1", 'a', {}},
    {"redo", {"Button7", "Undo1"}, "Redo1", 'b', {}},
    {"deletion deletes no more files", {}, "Button8", 0, [](ProgramInWork& w) {
         const auto left = static_cast<int>(w.OnDisk().size());
         EXPECT_GT(left, 0);
         EXPECT_LT(left, kFiles - 9);
         // The counter shows how many were deleted.
         EXPECT_TRUE(w.counter().contains(QString::number(kFiles - left).right(3))) << w.counter().toStdString();
     }},
    {"capture-date sort leaves the order as it was", {}, "N15", 0, [](ProgramInWork& w) {
         std::vector<std::string> names = w.OnDisk();
         EXPECT_EQ(RowBytes(w.list("oldfile")), names);
         Act(w, "N15", false); // modified in the reverse order of their names
         EXPECT_EQ(RowBytes(w.list("oldfile")), std::vector<std::string>(names.rbegin(), names.rend()));
     }},
};

TEST_F(ProgressStop, WhatLandsOnDiskIsWhatWasDone)
{
    for (const StopCase& c : kStopCases) {
        SCOPED_TRACE(c.label);
        ProgramInWork w(ManyFiles());
        const auto now = fs::file_time_type::clock::now();
        for (int i = 0; i < kFiles; ++i)
            fs::last_write_time(fs::path(w.work()) / ("a" + std::to_string(100000 + i) + ".jpg"), now - std::chrono::seconds(2 * i));
        std::vector<int> all(kFiles);
        std::iota(all.begin(), all.end(), 0);
        w.SelectRows(all);
        for (const char* entry : c.before)
            Act(w, entry, false);
        const int n = StoppedCount(Act(w, c.stopped, true));
        if (c.check)
            c.check(w);
        if (!c.counted)
            continue;
        ASSERT_GT(n, 0);
        ASSERT_LT(n, kFiles);
        EXPECT_EQ(CountStarting(w.OnDisk(), c.counted), n);
        Act(w, "Undo1", false);
        EXPECT_EQ(CountStarting(w.OnDisk(), 'a'), kFiles);
    }
}

} // namespace
