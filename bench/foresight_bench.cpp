// The trial run of 100,000 selected files with the foresight, against a bare read and byte
// sort of the folder's names, the least any look at the folder costs ("ratio"), and against
// the same trial run without it, in turns in one process ("with_per_without"). "Without" is
// the trial run in a folder it may not read: the foresight then gives up at once and the run
// is the plain trial run. "added_per_read_sort" is what the foresight adds over the bare read.
#include "bench/benchsupport.h"
#include "filelist/widgets/namelistview.h"
#include "platform/filesystem.h"
#include "support/permissionoverride.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <sys/stat.h>

namespace {
constexpr int kFiles = 100000;
using Clock = std::chrono::steady_clock;

struct Spent {
    double wall = 0, cpu = 0;
};

// Wall time, which the target is about, and the processor time of every thread (the reading
// of the folder runs beside the window thread, kernel time included): on a machine shared
// with other work the latter tells how much more work the foresight is.
Spent TimedTrialRun(TMain* m)
{
    const auto start = Clock::now();
    const double cpu = ProcessCpuSeconds();
    Control<QPushButton>(m, "Button6")->click();
    QApplication::processEvents();
    return {std::chrono::duration<double>(Clock::now() - start).count(), ProcessCpuSeconds() - cpu};
}

double BareReadAndSort(const std::string& folder)
{
    const auto start = Clock::now();
    std::vector<std::string> names = platform::ListFiles(folder);
    std::sort(names.begin(), names.end());
    benchmark::DoNotOptimize(names.data());
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int MarkedRows(TMain* m)
{
    const QAbstractItemModel* rows = Control<NameListView>(m, "NewFile")->model();
    int marked = 0;
    for (int r = 0; r < rows->rowCount(); ++r)
        marked += rows->index(r, 0).data(Qt::ToolTipRole).isValid() ? 1 : 0;
    return marked;
}

// Argument 0: every new name is free; 1: every new name but the last is taken (renumbering
// IMG_000000... one up), the most marks and tooltips a run can make.
void BM_TrialRunForesightVersusWithout(benchmark::State& state)
{
    const bool taken = state.range(0) == 1;
    const std::string folder = MakeBenchFolder("foresight", kFiles, "IMG_", ".JPG");
    Windows w = StartOn(folder);
    TMain* m = w.Main.get();
    m->show();
    Control<QCheckBox>(m, "Check2")->setChecked(true);
    Control<QSpinBox>(m, "UpDown1")->setValue(6);
    Control<QCheckBox>(m, "Check3")->setChecked(true);
    Control<QLineEdit>(m, "text2")->setText(taken ? QStringLiteral("1") : QStringLiteral("100000"));
    Control<QPushButton>(m, "Button3")->click();
    Spent with, without;
    double readSort = 0;
    int markedWith = 0, markedWithout = 0;
    for (auto _ : state) {
        const Spent w1 = TimedTrialRun(m);
        with.wall += w1.wall;
        with.cpu += w1.cpu;
        state.SetIterationTime(w1.wall);
        markedWith = MarkedRows(m);
        {
            WithoutPermissionOverride asUser;
            chmod(folder.c_str(), 0300);
            const Spent w0 = TimedTrialRun(m);
            without.wall += w0.wall;
            without.cpu += w0.cpu;
            chmod(folder.c_str(), 0755);
        }
        markedWithout = MarkedRows(m);
        readSort += BareReadAndSort(folder);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["with_s"] = with.wall / n;
    state.counters["without_s"] = without.wall / n;
    state.counters["with_cpu_s"] = with.cpu / n;
    state.counters["without_cpu_s"] = without.cpu / n;
    state.counters["read_sort_s"] = readSort / n;
    state.counters["added_per_read_sort"] = (with.wall - without.wall) / readSort;
    // The trial run with its foresight against a bare read and sort of the same folder: the
    // least any look at the folder costs.
    state.counters["ratio"] = with.wall / readSort;
    state.counters["target"] = 1.0;
    state.counters["with_per_without"] = with.wall / without.wall;
    state.counters["cpu_ratio"] = with.cpu / without.cpu;
    state.counters["marked"] = markedWith;
    state.counters["marked_without"] = markedWithout;
}
BENCHMARK(BM_TrialRunForesightVersusWithout)->Arg(0)->Arg(1)->UseManualTime()
    ->Unit(benchmark::kMillisecond)->Iterations(5);
} // namespace
