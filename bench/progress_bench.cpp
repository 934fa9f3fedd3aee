// An execution of 100,000 files with its progress dialog shown from the first file, against
// the same execution with the dialog never shown: the dialog may cost the run at most 2 %.
#include "bench/benchsupport.h"
#include "filelist/widgets/namelistview.h"
#include "ui/progressrun.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <chrono>
#include <climits>

namespace {
constexpr int kFiles = 100000;
using Clock = std::chrono::steady_clock;

void BM_ExecuteWithProgressVersusWithout(benchmark::State& state)
{
    Windows w = StartOn(MakeBenchFolder("progress", kFiles, "a", ".jpg"));
    TMain* m = w.Main.get();
    m->show();
    Control<QCheckBox>(m, "Check1")->setChecked(true);
    Control<QCheckBox>(m, "Check2")->setChecked(false);
    bool toB = true;
    // One execution, the dialog shown after showAfterMs; returns its seconds.
    const auto execute = [&](int showAfterMs) {
        ProgressRun::SetTiming(showAfterMs, 50);
        Control<QLineEdit>(m, "textvol")->setText(toB ? QStringLiteral("b") : QStringLiteral("a"));
        Control<QPushButton>(m, "Button3")->click();
        const auto start = Clock::now();
        Control<QPushButton>(m, "Button7")->click();
        toB = !toB;
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    double with = 0, without = 0;
    for (auto _ : state) {
        const double seconds = execute(0);
        with += seconds;
        state.SetIterationTime(seconds);
        without += execute(INT_MAX);
    }
    ProgressRun::SetTiming(1000, 50);
    const double n = static_cast<double>(state.iterations());
    state.counters["with_s"] = with / n;
    state.counters["without_s"] = without / n;
    ReportRatio(state, with, without, 1.02);
}
BENCHMARK(BM_ExecuteWithProgressVersusWithout)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

