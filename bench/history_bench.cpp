// The history of executions at its fullest: 100 kept executions of 100,000 files each. The
// undo of the newest and the redo of 100,000 files against the floor of the same renames; an
// execution added to a full history against one added to an empty one; the history window
// opened (under 100 ms); the start of the program with a full history against none.
#include "bench/benchsupport.h"
#include "filelist/folderlisting.h"
#include "filelist/widgets/namelistview.h"
#include "rename/history.h"
#include "support/tempfolder.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
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

// State folders: one with a full history, one with none.
const TempFolder& FullState()
{
    static TempFolder state;
    return state;
}
const TempFolder& EmptyState()
{
    static TempFolder state;
    return state;
}

void UseState(const TempFolder& state)
{
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString(state.path()));
}

// Fills the full state's history with executions of 100,000 files in folders that are gone,
// written as the program writes them.
void FillHistory()
{
    UseState(FullState());
    std::size_t kept = ReadHistory().size();
    UndoRecord planned{"/gone", {}, 1, 2, 3, false, 0, 1'700'000'000};
    planned.Entries.resize(kFiles);
    char a[32], b[32];
    for (int i = 0; i < kFiles; ++i) {
        std::snprintf(a, sizeof a, "a%06d.jpg", i);
        std::snprintf(b, sizeof b, "b%06d.jpg", i);
        planned.Entries[static_cast<std::size_t>(i)] = {a, b, 1, static_cast<uint64_t>(i) + 10, 0, 0, 0};
    }
    for (; kept < kHistorySize; ++kept) {
        planned.Folder = "/gone/" + std::to_string(kept);
        planned.Token = kept + 1;
        if (std::optional<HistoryItem> item = AddToHistory(planned, 1'000'000 + static_cast<int64_t>(kept)))
            FinishHistoryItem(*item, kFiles);
    }
    if (ReadHistory().size() != kHistorySize)
        throw std::runtime_error("the history could not be filled");
}

TMain* Started(Windows& w)
{
    TMain* m = w.Main.get();
    m->show();
    Control<QCheckBox>(m, "Check1")->setChecked(true);
    Control<QCheckBox>(m, "Check2")->setChecked(false);
    Control<QLineEdit>(m, "textvol")->setText(QStringLiteral("b"));
    return m;
}

double Timed(const std::function<void()>& f)
{
    const auto start = Clock::now();
    f();
    return Since(start);
}

struct Turns {
    double undo = 0, undoFloor = 0, redo = 0, redoFloor = 0, executeFull = 0, executeEmpty = 0;
};

void Execute(TMain* m)
{
    Control<QPushButton>(m, "Button11")->click();
    Control<QPushButton>(m, "Button3")->click();
    Control<QPushButton>(m, "Button7")->click();
    ExpectAllNamesStartWith(m, kFiles, 'b');
}

void Undo(TMain* m)
{
    Control<QAction>(m, "Undo1")->trigger();
    ExpectAllNamesStartWith(m, kFiles, 'a');
}

// One turn: the floors, an execution into the empty and into the full history, the undo of the
// newest of the full one, its redo, and the undo that makes the folder as it was.
void Turn(const std::string& folder, TMain* m, Turns& t)
{
    t.undoFloor += RenameFloor(folder, kFiles, 'a', 'b') / 2 + RenameFloor(folder, kFiles, 'b', 'a') / 2;
    t.redoFloor = t.undoFloor;
    UseState(EmptyState());
    t.executeEmpty += Timed([&] { Execute(m); });
    Undo(m);
    UseState(FullState());
    t.executeFull += Timed([&] { Execute(m); });
    t.undo += Timed([&] { Undo(m); });
    t.redo += Timed([&] {
        Control<QAction>(m, "Redo1")->trigger();
        ExpectAllNamesStartWith(m, kFiles, 'b');
    });
    Undo(m);
}

void RoundTrips(benchmark::State& state, double Turns::*measured, double Turns::*baseline, double target)
{
    const std::string folder = MakeBenchFolder("history", kFiles, "a", ".jpg");
    FillHistory();
    Windows w = StartOn(folder);
    TMain* m = Started(w);
    Turns t;
    for (auto _ : state) {
        const double before = t.*measured;
        Turn(folder, m, t);
        state.SetIterationTime(t.*measured - before);
    }
    state.counters["window_s"] = t.*measured;
    state.counters["baseline_s"] = t.*baseline;
    ReportRatio(state, t.*measured, t.*baseline, target);
}

void BM_UndoOfNewestInFullHistoryVersusFloor(benchmark::State& state)
{
    RoundTrips(state, &Turns::undo, &Turns::undoFloor, 1.25);
}
BENCHMARK(BM_UndoOfNewestInFullHistoryVersusFloor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RedoVersusFloor(benchmark::State& state)
{
    RoundTrips(state, &Turns::redo, &Turns::redoFloor, 1.25);
}
BENCHMARK(BM_RedoVersusFloor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExecutionIntoFullHistoryVersusEmpty(benchmark::State& state)
{
    RoundTrips(state, &Turns::executeFull, &Turns::executeEmpty, 1.15);
}
BENCHMARK(BM_ExecutionIntoFullHistoryVersusEmpty)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// From History1 to the window showing its rows, closed at once.
void BM_HistoryWindowOpensUnder100ms(benchmark::State& state)
{
    const std::string folder = MakeBenchFolder("small", 10, "a", ".jpg");
    FillHistory();
    Windows w = StartOn(folder);
    TMain* m = Started(w);
    double total = 0;
    int opened = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        double shown = 0;
        QTimer::singleShot(0, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                shown = Since(start);
                dialog->close();
            }
        });
        Control<QAction>(m, "History1")->trigger();
        if (shown == 0)
            throw std::runtime_error("the history window did not open");
        state.SetIterationTime(shown);
        total += shown;
        ++opened;
    }
    state.counters["window_s"] = total / opened;
    ReportRatio(state, total / opened, 0.100, 1.0);
}
BENCHMARK(BM_HistoryWindowOpensUnder100ms)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The windows created and shown on a small folder, with a full history and with none.
void BM_StartWithFullHistoryVersusNone(benchmark::State& state)
{
    const std::string folder = MakeBenchFolder("small", 10, "a", ".jpg");
    FillHistory();
    const auto start = [&] {
        Windows w = StartOn(folder);
        w.Main->show();
        QApplication::processEvents();
    };
    start(); // what only the first start of a process pays (fonts, translations)
    double full = 0, none = 0;
    bool fullFirst = true;
    for (auto _ : state) {
        // In turns, so neither is always the one after the other.
        const TempFolder* order[] = {&FullState(), &EmptyState()};
        if (!fullFirst)
            std::swap(order[0], order[1]);
        fullFirst = !fullFirst;
        double took = 0;
        for (const TempFolder* s : order) {
            UseState(*s);
            took = Timed(start);
            (s == &FullState() ? full : none) += took;
        }
        state.SetIterationTime(took);
    }
    state.counters["window_s"] = full;
    state.counters["baseline_s"] = none;
    ReportRatio(state, full, none, 1.10);
}
BENCHMARK(BM_StartWithFullHistoryVersusNone)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
} // namespace
