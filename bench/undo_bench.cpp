// The execution with its undo record, and the undo, over 100,000 files, each against the
// floor of the same work: one renameat2 per file relative to the open folder, then the
// re-read of the listing (readdir and the case-blind sort). Measured in turns in one run.
#include "bench/benchsupport.h"
#include "filelist/folderlisting.h"
#include "filelist/widgets/namelistview.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace {
constexpr int kFiles = 100000;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Turns {
    double execute = 0, executeFloor = 0, undo = 0, undoFloor = 0;
};

// One turn: the floor a -> b and back, then the window's execution a -> b and its undo.
void Turn(const std::string& folder, TMain* m, Turns& t)
{
    t.executeFloor += RenameFloor(folder, kFiles, 'a', 'b');
    t.undoFloor += RenameFloor(folder, kFiles, 'b', 'a');
    Control<QPushButton>(m, "Button11")->click();
    Control<QPushButton>(m, "Button3")->click();
    auto start = Clock::now();
    Control<QPushButton>(m, "Button7")->click();
    t.execute += Since(start);
    ExpectAllNamesStartWith(m, kFiles, 'b');
    start = Clock::now();
    Control<QAction>(m, "Undo1")->trigger();
    t.undo += Since(start);
    ExpectAllNamesStartWith(m, kFiles, 'a');
}

TMain* Started(Windows& w)
{
    TMain* m = w.Main.get();
    m->show();
    Control<QCheckBox>(m, "Check1")->setChecked(true);
    Control<QCheckBox>(m, "Check2")->setChecked(false); // keep the digit runs, change only the text part
    Control<QLineEdit>(m, "textvol")->setText(QStringLiteral("b"));
    return m;
}

// Turns of the whole round trip, timing one half of it (measured) against its floor.
void TurnsVersusFloor(benchmark::State& state, double Turns::*measured, double Turns::*floor,
                      double target)
{
    const std::string folder = MakeBenchFolder("undo", kFiles, "a", ".jpg");
    Windows w = StartOn(folder);
    TMain* m = Started(w);
    Turns t;
    for (auto _ : state) {
        const double before = t.*measured;
        Turn(folder, m, t);
        state.SetIterationTime(t.*measured - before);
    }
    state.counters["window_s"] = t.*measured;
    state.counters["floor_s"] = t.*floor;
    ReportRatio(state, t.*measured, t.*floor, target);
}

void BM_ExecuteWithRecordVersusFloor(benchmark::State& state)
{
    TurnsVersusFloor(state, &Turns::execute, &Turns::executeFloor, 1.15);
}
BENCHMARK(BM_ExecuteWithRecordVersusFloor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_UndoVersusFloor(benchmark::State& state)
{
    TurnsVersusFloor(state, &Turns::undo, &Turns::undoFloor, 1.25);
}
BENCHMARK(BM_UndoVersusFloor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace
