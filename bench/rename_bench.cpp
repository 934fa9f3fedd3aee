// Trial run and execution over 100,000 selected files, against the naive system-call loop
// (stat + renameat2 by full path) and against the floor (renameat2 relative to the open
// folder, then the re-read of the listing) over the same number of files; and the same
// 100,000 files as 50,000 photos with their RAW files, renamed with companions and without.
#include "bench/benchsupport.h"
#include "base/paths.h"
#include "filelist/listingorder.h"
#include "filelist/widgets/namelistview.h"
#include "platform/filesystem.h"
#include "rename/companions.h"
#include "rename/foresight.h"
#include "rename/renamerun.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kFiles = 100000;
using Clock = std::chrono::steady_clock;

void BM_TrialRun(benchmark::State& state)
{
    Windows w = StartOn(MakeBenchFolder("plain", kFiles, "IMG_", ".JPG"));
    TMain* m = w.Main.get();
    m->show();
    Control<QCheckBox>(m, "Check3")->setChecked(true);
    Control<QPushButton>(m, "Button3")->click();
    for (auto _ : state) {
        Control<QPushButton>(m, "Button6")->click();
        QApplication::processEvents();
    }
    state.counters["rows"] = Control<NameListView>(m, "NewFile")->rowCount();
}
BENCHMARK(BM_TrialRun)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Execute(benchmark::State& state)
{
    Windows w = StartOn(MakeBenchFolder("exec", kFiles, "a", ".jpg"));
    TMain* m = w.Main.get();
    m->show();
    Control<QCheckBox>(m, "Check1")->setChecked(true);
    Control<QCheckBox>(m, "Check2")->setChecked(false); // keep the digit runs, change only the text part
    bool toB = true;
    for (auto _ : state) {
        state.PauseTiming();
        Control<QLineEdit>(m, "textvol")->setText(toB ? QStringLiteral("b") : QStringLiteral("a"));
        Control<QPushButton>(m, "Button3")->click();
        state.ResumeTiming();
        Control<QPushButton>(m, "Button7")->click();
        toB = !toB;
    }
    // Each run must really have renamed every file to the other text part.
    const auto& names = Control<NameListView>(m, "oldfile")->names()->names();
    const char last = toB ? 'a' : 'b';
    state.counters["renamed"] = static_cast<double>(
        std::count_if(names.begin(), names.end(), [&](const std::string& n) { return n[0] == last; }));
}
BENCHMARK(BM_Execute)->Unit(benchmark::kMillisecond)->Iterations(4);

// One pass of the bare loop over the files of folder (ending in "/"): a -> b, or back.
double BareStatRenameLoop(const std::string& folder, bool toB)
{
    const auto start = Clock::now();
    char from[64], to[64];
    for (int i = 0; i < kFiles; ++i) {
        std::snprintf(from, sizeof from, "%s%06d.jpg", toB ? "a" : "b", i);
        std::snprintf(to, sizeof to, "%s%06d.jpg", toB ? "b" : "a", i);
        const std::string oldPath = folder + from;
        const std::string newPath = folder + to;
        struct stat st;
        benchmark::DoNotOptimize(stat(newPath.c_str(), &st));
        renameat2(AT_FDCWD, oldPath.c_str(), AT_FDCWD, newPath.c_str(), RENAME_NOREPLACE);
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_BareStatRename(benchmark::State& state)
{
    const std::string folder = MakeBenchFolder("bare", kFiles, "a", ".jpg") + "/";
    bool toB = true;
    for (auto _ : state) {
        BareStatRenameLoop(folder, toB);
        toB = !toB;
    }
}
BENCHMARK(BM_BareStatRename)->Unit(benchmark::kMillisecond)->Iterations(4);

// The floor of one execution: one renameat2 per file relative to the open folder, a -> b or
// back, and the re-read of the listing (readdir and the case-blind sort) that follows it.
double FloorRenameAndReread(const std::string& folder, bool toB)
{
    const auto start = Clock::now();
    const int dir = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    char from[64], to[64];
    for (int i = 0; i < kFiles; ++i) {
        std::snprintf(from, sizeof from, "%s%06d.jpg", toB ? "a" : "b", i);
        std::snprintf(to, sizeof to, "%s%06d.jpg", toB ? "b" : "a", i);
        renameat2(dir, from, dir, to, RENAME_NOREPLACE);
    }
    close(dir);
    benchmark::DoNotOptimize(BareReadAndSort(folder).data());
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The execution and a baseline over the same 100,000 files of one folder, in turns: the
// baseline renames a -> b, the window renames them back. "ratio" is the window's time over
// the baseline's, summed over the iterations.
template <typename Baseline>
void ExecuteInTurnsWith(benchmark::State& state, const std::string& tag, Baseline baseline,
                        double target)
{
    const std::string folder = MakeBenchFolder(tag, kFiles, "a", ".jpg");
    Windows w = StartOn(folder);
    TMain* m = w.Main.get();
    m->show();
    Control<QCheckBox>(m, "Check1")->setChecked(true);
    Control<QCheckBox>(m, "Check2")->setChecked(false);
    Control<QLineEdit>(m, "textvol")->setText(QStringLiteral("a"));
    double window = 0, bare = 0;
    long renamed = 0;
    for (auto _ : state) {
        bare += baseline(folder);

        Control<QPushButton>(m, "Button11")->click();
        Control<QPushButton>(m, "Button3")->click();
        const auto start = Clock::now();
        Control<QPushButton>(m, "Button7")->click();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        window += seconds;
        state.SetIterationTime(seconds);
        const auto& names = Control<NameListView>(m, "oldfile")->names()->names();
        renamed += std::count_if(names.begin(), names.end(), [](const std::string& n) { return n[0] == 'a'; });
    }
    state.counters["window_s"] = window;
    state.counters["bare_s"] = bare;
    state.counters["renamed"] = static_cast<double>(renamed) / static_cast<double>(state.iterations());
    ReportRatio(state, window, bare, target);
}

// Against the naive loop a program without a folder descriptor would run. The undo record
// asks each file's identity before the first rename, the same one stat per file the loop
// makes, so the execution keeps level with the loop rather than ahead of it.
void BM_ExecuteVersusBareStatRename(benchmark::State& state)
{
    ExecuteInTurnsWith(
        state, "turns", [](const std::string& folder) { return BareStatRenameLoop(folder + "/", true); },
        1.1);
}
BENCHMARK(BM_ExecuteVersusBareStatRename)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Against the floor, like with like: a quarter over it leaves room for the checks, the
// composing of the names and the counter, and nothing much more.
void BM_ExecuteVersusFloor(benchmark::State& state)
{
    ExecuteInTurnsWith(
        state, "floor", [](const std::string& folder) { return FloorRenameAndReread(folder, true); },
        1.25);
}
BENCHMARK(BM_ExecuteVersusFloor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// --- Companions: the grouping must cost little beside the run it belongs to. ---

// 50,000 photos prefix + number + ".JPG", each with its ".CR2": 100,000 files.
std::string MakePairFolder(const std::string& tag, const std::string& prefix)
{
    static std::map<std::string, std::string> made;
    if (auto it = made.find(tag); it != made.end())
        return it->second;
    const std::string folder = MakeBenchFolder(tag, kFiles / 2, prefix, ".JPG");
    char name[64];
    for (int i = 0; i < kFiles / 2; ++i) {
        std::snprintf(name, sizeof name, "/%s%06d.CR2", prefix.c_str(), i);
        const int fd = open((folder + name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd >= 0)
            close(fd);
    }
    return made[tag] = folder;
}

// The list as the window shows it after reading the folder.
std::vector<std::string> ListedNames(const std::string& folder)
{
    std::vector<std::string> names = platform::ListFiles(folder);
    SortListing(names);
    return names;
}

// What the trial run does below the window: the folder read for the foresight while the
// groups and rows are made, then the foresight. Seconds.
double TrialSeconds(const std::string& folder, const std::vector<std::string>& names, bool companions)
{
    RenameOptions o;
    o.ChangeText = true;
    o.NewText = "b";
    o.Sequential = true;
    o.DigitCount = 6;
    const std::vector<bool> selected(names.size(), true);
    const auto start = Clock::now();
    ForesightReading foresight(FolderPrefix(folder));
    const FileGroups groups = GroupFiles(names, selected, companions);
    std::vector<std::string> rows;
    ComposeTrialRows(names, groups, o, 0, {}, rows);
    const std::vector<Foresight> verdicts = foresight.Foresee(names, groups, rows);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (static_cast<std::size_t>(std::count(verdicts.begin(), verdicts.end(), Foresight::Fine)) != names.size())
        throw std::logic_error("the trial run foresaw a file left");
    return seconds;
}

// The trial run of all 100,000 files with companions against the same without them, in turns.
void BM_TrialCompanionsVersusWithout(benchmark::State& state)
{
    const std::string folder = MakePairFolder("pairs-trial", "IMG_");
    const std::vector<std::string> names = ListedNames(folder);
    double with = 0, without = 0, grouping = 0;
    bool withFirst = false;
    for (auto _ : state) {
        // Each goes first in every other turn, so neither always finds the caches warm.
        const double before = withFirst ? 0 : TrialSeconds(folder, names, false);
        const double seconds = TrialSeconds(folder, names, true);
        without += withFirst ? TrialSeconds(folder, names, false) : before;
        with += seconds;
        state.SetIterationTime(seconds);
        withFirst = !withFirst;
        const auto start = Clock::now();
        benchmark::DoNotOptimize(PhotosWithCompanions(names, std::vector<bool>(names.size(), true)).Rows.data());
        grouping += std::chrono::duration<double>(Clock::now() - start).count();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["with_s"] = with / n;
    state.counters["without_s"] = without / n;
    state.counters["grouping_s"] = grouping / n;
    ReportRatio(state, with, without, 1.25);
}
BENCHMARK(BM_TrialCompanionsVersusWithout)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The execution below the window, the planned record included (not written): every file of
// the folder selected, its text part changed to text. Seconds.
double ExecutionSeconds(const std::string& folder, bool companions, const char* text)
{
    const std::vector<std::string> names = ListedNames(folder);
    const std::vector<bool> selected(names.size(), true);
    RenameOptions o;
    o.ChangeText = true;
    o.NewText = text;
    std::size_t renamed = 0, planned = 0;
    ExecuteHooks hooks;
    hooks.BeforeRenames = [&](const UndoRecord& record) {
        planned = record.Entries.size();
        return true;
    };
    hooks.Renamed = [&] { ++renamed; };
    const auto start = Clock::now();
    ExecuteRenames(FolderPrefix(folder), names, GroupFiles(names, selected, companions), o, 0, hooks);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (renamed != names.size() || planned != names.size())
        throw std::logic_error("not every file was renamed");
    return seconds;
}

// The execution of all 100,000 files with companions against the same without them, in
// turns: one renames "a" to "b", the other renames them back.
void BM_ExecuteCompanionsVersusWithout(benchmark::State& state)
{
    const std::string folder = MakePairFolder("pairs-exec", "a");
    double with = 0, without = 0;
    bool withFirst = false;
    for (auto _ : state) {
        // Each goes first, and so each way between the two names, in every other turn.
        const double before = ExecutionSeconds(folder, withFirst, "b");
        const double after = ExecutionSeconds(folder, !withFirst, "a");
        const double seconds = withFirst ? before : after;
        without += withFirst ? after : before;
        with += seconds;
        state.SetIterationTime(seconds);
        withFirst = !withFirst;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["with_s"] = with / n;
    state.counters["without_s"] = without / n;
    ReportRatio(state, with, without, 1.25);
}
BENCHMARK(BM_ExecuteCompanionsVersusWithout)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(4);
} // namespace
