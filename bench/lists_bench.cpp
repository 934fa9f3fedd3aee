// Selecting, moving and sorting a list of 100,000 rows.
#include "bench/benchsupport.h"
#include "filelist/widgets/namelistview.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <memory>

namespace {
constexpr int kFiles = 100000;

TMain* Shared()
{
    static Windows w = StartOn(MakeBenchFolder("plain", kFiles, "IMG_", ".JPG"));
    w.Main->show();
    return w.Main.get();
}

void BM_SelectAll(benchmark::State& state)
{
    TMain* m = Shared();
    for (auto _ : state) {
        Control<QPushButton>(m, "Button3")->click();
        state.PauseTiming();
        Control<QPushButton>(m, "Button4")->click();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SelectAll)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_MoveAllButFirst(benchmark::State& state)
{
    TMain* m = Shared();
    std::vector<bool> flags(static_cast<std::size_t>(Control<NameListView>(m, "oldfile")->rowCount()), true);
    flags[0] = false;
    Control<NameListView>(m, "oldfile")->setSelectedFlags(flags);
    bool up = true;
    for (auto _ : state) {
        (up ? Control<QPushButton>(m, "Button1") : Control<QPushButton>(m, "Button2"))->click(); // up, then back down
        up = !up;
    }
}
BENCHMARK(BM_MoveAllButFirst)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_SortByExtension(benchmark::State& state)
{
    TMain* m = Shared();
    for (auto _ : state)
        Control<QAction>(m, "N5")->trigger();
}
BENCHMARK(BM_SortByExtension)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SortByDate(benchmark::State& state)
{
    TMain* m = Shared();
    for (auto _ : state)
        Control<QAction>(m, "N6")->trigger();
}
BENCHMARK(BM_SortByDate)->Unit(benchmark::kMillisecond)->Iterations(5);
} // namespace
