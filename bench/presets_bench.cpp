// Presets and the photographer's names at 100,000 files.
// - A preset applied with 100,000 rows listed and selected and a trial run shown: every
//   input set, the controls following, the trial rows greyed. Held to 10 ms ("ratio" is the
//   time over 10 ms, target 1).
// - A trial run of 100,000 photos whose capture times are already read, with names from
//   them, the day counter and the clock offset on, against the same run with the two off:
//   held to 1.10.
#include "bench/benchsupport.h"
#include "filelist/widgets/namelistview.h"
#include "rename/capturerun.h"
#include "rename/renamerun.h"
#include "settings/presets.h"
#include "support/tempfolder.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace {
constexpr int kFiles = 100000;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

RenameInputValues Setup(const char* text, bool sequential)
{
    RenameInputValues v;
    v.NewText = text;
    v.Sequential = sequential;
    v.BaseNumber = "1";
    return v;
}

void BM_PresetAppliedOverATrialRun(benchmark::State& state)
{
    const TempFolder config;
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path()));
    WritePresetsFile(PresetsPath(), {{"trip", Setup("trip_", true)}, {"home", Setup("home_", false)}}, false);
    const std::string folder = MakeBenchFolder("presets", kFiles, "IMG_", ".JPG");
    {
        Windows w = StartOn(folder);
        TMain* m = w.Main.get();
        m->show();
        std::vector<QAction*> presets;
        for (QAction* a : Control<QMenu>(m, "Presets1")->actions())
            if (a->property("preset").isValid())
                presets.push_back(a);
        Control<QPushButton>(m, "Button3")->click();
        Control<QPushButton>(m, "Button6")->click();
        QApplication::processEvents();
        if (Control<NameListView>(m, "NewFile")->model()->rowCount() != kFiles)
            state.SkipWithError("no trial run shown");
        double spent = 0;
        std::size_t turn = 0;
        for (auto _ : state) {
            const auto start = Clock::now();
            presets.at(turn++ % 2)->trigger();
            const double s = Since(start);
            spent += s;
            state.SetIterationTime(s);
            QApplication::processEvents();
        }
        const QString text = Control<QLineEdit>(m, "textvol")->text();
        if (text != QStringLiteral("trip_") && text != QStringLiteral("home_"))
            state.SkipWithError("the preset did not reach textvol");
        const double n = static_cast<double>(state.iterations());
        state.counters["apply_ms"] = spent / n * 1000;
        ReportRatio(state, spent / n, 0.010, 1.0);
    }
    qputenv("XDG_CONFIG_HOME", old);
}
BENCHMARK(BM_PresetAppliedOverATrialRun)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_DayCounterAndOffsetVersusOff(benchmark::State& state)
{
    std::vector<std::string> names;
    std::vector<CaptureLook> looks(kFiles);
    char name[32];
    for (int i = 0; i < kFiles; ++i) {
        std::snprintf(name, sizeof name, "IMG_%06d.JPG", i);
        names.emplace_back(name);
        // A shoot of 100 days, a photo every 86 seconds; every tenth without a capture time.
        looks[static_cast<std::size_t>(i)].Stamp = platform::FileStamp{};
        looks[static_cast<std::size_t>(i)].Stamp->Modified = 1714521600 + i * 86;
        if (i % 10 != 0)
            looks[static_cast<std::size_t>(i)].Time = CaptureTime{1714521600 + int64_t(i) * 86, 0};
    }
    const FileGroups groups = SingleFiles(std::vector<bool>(names.size(), true));
    RenameInputValues on = Setup("%Y%m%d_", true);
    on.CaptureName = true;
    on.DayCounter = true;
    on.ClockOffset = 3600;
    RenameInputValues off = on;
    off.DayCounter = false;
    off.ClockOffset = 0;
    const auto run = [&](const RenameInputValues& in) {
        const auto start = Clock::now();
        RenameOptions o = OptionsOf(in, false, false);
        std::vector<CaptureMark> noTime;
        AddCaptureNaming(o, in, groups, looks, &noTime);
        std::vector<std::string> rows;
        ComposeTrialRows(names, groups, o, 1, {}, rows);
        benchmark::DoNotOptimize(rows.data());
        return Since(start);
    };
    run(on);
    double withBoth = 0, without = 0;
    for (auto _ : state) {
        without += run(off);
        const double s = run(on);
        withBoth += s;
        state.SetIterationTime(s);
    }
    state.counters["on_s"] = withBoth / static_cast<double>(state.iterations());
    state.counters["off_s"] = without / static_cast<double>(state.iterations());
    ReportRatio(state, withBoth, without, 1.10);
}
BENCHMARK(BM_DayCounterAndOffsetVersusOff)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
} // namespace
