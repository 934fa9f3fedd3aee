// Reading a folder of 100,000 files: the bare names, all the way into the list, and the
// refresh button against the bare readdir and sort.
#include "bench/benchsupport.h"
#include "filelist/folderlisting.h"
#include "filelist/widgets/namelistview.h"

#include <QApplication>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <chrono>

namespace {
constexpr int kFiles = 100000;

void BM_ReadAndSortNames(benchmark::State& state)
{
    FolderListing listing{MakeBenchFolder("plain", kFiles, "IMG_", ".JPG"), {}};
    for (auto _ : state) {
        listing.Read();
        benchmark::DoNotOptimize(listing.Names.data());
    }
    state.counters["files"] = static_cast<double>(listing.Names.size());
}
BENCHMARK(BM_ReadAndSortNames)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_RefreshIntoOldfile(benchmark::State& state)
{
    const std::string folder = MakeBenchFolder("plain", kFiles, "IMG_", ".JPG");
    const long before = ResidentBytes();
    Windows w = StartOn(folder);
    w.Main->show();
    QApplication::processEvents();
    const long after = ResidentBytes();
    for (auto _ : state) {
        Control<QPushButton>(w.Main.get(), "Button11")->click();
        QApplication::processEvents();
    }
    state.counters["rows"] = Control<NameListView>(w.Main.get(), "oldfile")->rowCount();
    state.counters["window_MB"] = static_cast<double>(after - before) / (1024.0 * 1024.0);
}
BENCHMARK(BM_RefreshIntoOldfile)->Unit(benchmark::kMillisecond)->Iterations(10);

// The refresh button against its floor, in turns over the same folder: the bare readdir and
// case-blind sort of the names, then the click with the events it leaves (the lists laid out
// and painted). The refresh may take at most 1.5 times the floor.
void BM_RefreshVersusReadAndSort(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    const std::string folder = MakeBenchFolder("plain", kFiles, "IMG_", ".JPG");
    Windows w = StartOn(folder);
    w.Main->show();
    QApplication::processEvents();
    auto* refresh = Control<QPushButton>(w.Main.get(), "Button11");
    double window = 0, bare = 0, windowCpu = 0, bareCpu = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const double c0 = ThreadCpuSeconds();
        benchmark::DoNotOptimize(BareReadAndSort(folder).data());
        const auto t1 = Clock::now();
        const double c1 = ThreadCpuSeconds();
        refresh->click();
        QApplication::processEvents();
        const auto t2 = Clock::now();
        const double c2 = ThreadCpuSeconds();
        bare += std::chrono::duration<double>(t1 - t0).count();
        window += std::chrono::duration<double>(t2 - t1).count();
        bareCpu += c1 - c0;
        windowCpu += c2 - c1;
        state.SetIterationTime(std::chrono::duration<double>(t2 - t1).count());
    }
    state.counters["rows"] = Control<NameListView>(w.Main.get(), "oldfile")->rowCount();
    // The same ratio in processor time, for a machine that others share.
    state.counters["cpu_ratio"] = windowCpu / bareCpu;
    ReportRatio(state, window, bare, 1.25);
}
BENCHMARK(BM_RefreshVersusReadAndSort)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
} // namespace
