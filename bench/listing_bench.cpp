// Reading a folder of 100,000 files: the bare names, and all the way into the list.
#include "bench/benchsupport.h"
#include "filelist/folderlisting.h"
#include "filelist/widgets/namelistview.h"

#include <QApplication>
#include <QPushButton>
#include <benchmark/benchmark.h>

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
} // namespace
