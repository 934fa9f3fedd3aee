// Names from capture times over a folder of 10,000 JPEG files with EXIF blocks (a thumbnail
// inside, after a JFIF segment, as cameras write them), against the plain trial run of the
// same rows, in turns in one process. The plain run composes every selected row and foresees
// the execution over the folder; the capture run also reads the capture times and expands the
// pattern. "ratio" is capture over plain by the clock, "compose_ratio" capture over the bare
// composing of the rows (the least a trial run costs), "capture_s" one capture run.
// Arg 0: every header read (a fresh cache each time, the files in the page cache), held to
// twice the bare opening and reading of the same files ("floor_s"); arg 1: the same folder
// again with the cache of the run before, which must read no header ("headers_read" is per
// run), held to four plain runs.
#include "bench/benchsupport.h"
#include "filelist/widgets/namelistview.h"
#include "filelist/capturereading.h"
#include "rename/capturenames.h"
#include "rename/foresight.h"
#include "rename/naming.h"
#include "support/exifjpeg.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <optional>

namespace {
constexpr int kFiles = 10000;
using Clock = std::chrono::steady_clock;

std::vector<std::string> MakePhotoFolder(std::string& folder)
{
    folder = MakeBenchFolder("capturenames", 0, "", "");
    ExifTags tags;
    tags.Thumbnail = WriteTestJpeg(160, 120);
    tags.DateTime = "2024:01:01 00:00:00";
    std::vector<std::string> names;
    char text[32], name[32];
    for (int i = 0; i < kFiles; ++i) {
        // Bursts: ten photos in each second, so names from the time alone would collide.
        const int s = i / 10;
        std::snprintf(text, sizeof text, "2023:%02d:%02d %02d:%02d:%02d", s / 86400 % 12 + 1,
                      s / 3600 % 28 + 1, s / 3600 % 24, s / 60 % 60, s % 60);
        tags.DateTimeOriginal = text;
        std::snprintf(name, sizeof name, "IMG_%05d.JPG", i);
        names.emplace_back(name);
        std::ofstream(folder + "/" + name, std::ios::binary)
            << JpegWithExif(tags, {.JfifFirst = true, .Width = 64, .Height = 48});
    }
    return names;
}

RenameOptions PatternOptions()
{
    RenameOptions o;
    o.ChangeText = true;
    o.NewText = "%Y%m%d_%H%M%S_";
    o.Sequential = true;
    o.DigitCount = 3;
    return o;
}

double Since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<std::string> PlainRows(const std::vector<std::string>& names, const RenameOptions& o)
{
    std::vector<std::string> rows;
    rows.reserve(names.size());
    int32_t number = 1;
    for (const std::string& name : names)
        rows.push_back(ComposeNewName(name, o, number++));
    return rows;
}

std::vector<std::string> CaptureRows(const std::string& folder, const std::vector<std::string>& names,
                                     const std::vector<bool>& selected, const RenameOptions& o,
                                     CaptureTimeCache& cache, std::size_t& headersRead)
{
    const SelectedCaptureTimes times = CaptureTimesOfSelected(folder + "/", names, selected, cache);
    headersRead = times.HeadersRead;
    const std::vector<std::optional<std::string>> parts = CaptureTextParts(o.NewText, times.Times);
    std::vector<std::string> rows;
    rows.reserve(names.size());
    int32_t number = 1;
    for (std::size_t i = 0; i < names.size(); ++i, ++number)
        rows.push_back(parts[i] ? ComposeNewName(names[i], o, number, *parts[i]) : names[i]);
    return rows;
}

// The least any reading of the headers costs: each file examined, opened, examined again
// through its descriptor, its first 16 KiB read and closed, on two threads, with nothing else.
double BareHeaderReads(const std::string& folder, const std::vector<std::string>& names)
{
    const auto start = Clock::now();
    const auto slice = [&](std::size_t from, std::size_t to) {
        char buffer[16384];
        for (std::size_t i = from; i < to; ++i) {
            const std::string path = folder + "/" + names[i];
            struct stat st;
            lstat(path.c_str(), &st);
            const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
            if (fd < 0)
                continue;
            fstat(fd, &st);
            benchmark::DoNotOptimize(read(fd, buffer, sizeof buffer));
            close(fd);
        }
    };
    std::thread other(slice, 0, names.size() / 2);
    slice(names.size() / 2, names.size());
    other.join();
    return Since(start);
}

void BM_CaptureNamesVersusPlainTrialRun(benchmark::State& state)
{
    const bool again = state.range(0) == 1;
    std::string folder;
    static const std::vector<std::string> names = MakePhotoFolder(folder);
    folder = MakeBenchFolder("capturenames", 0, "", "");
    const std::vector<bool> selected(names.size(), true);
    const RenameOptions options = PatternOptions();
    CaptureTimeCache warm;
    std::size_t headersRead = 0;
    CaptureRows(folder, names, selected, options, warm, headersRead); // page cache and first use
    double plain = 0, compose = 0, capture = 0, floor = 0;
    std::size_t read = 0;
    for (auto _ : state) {
        floor += BareHeaderReads(folder, names);
        auto start = Clock::now();
        std::vector<std::string> rows = PlainRows(names, options);
        compose += Since(start);
        benchmark::DoNotOptimize(ForeseeRenamesIn(folder, names, selected, rows).data());
        plain += Since(start);

        CaptureTimeCache fresh;
        start = Clock::now();
        rows = CaptureRows(folder, names, selected, options, again ? warm : fresh, headersRead);
        benchmark::DoNotOptimize(ForeseeRenamesIn(folder, names, selected, rows).data());
        const double spent = Since(start);
        capture += spent;
        read += headersRead;
        state.SetIterationTime(spent);
        if (rows.front() != "20230101_000000_001.JPG")
            state.SkipWithError(("unexpected first name " + rows.front()).c_str());
    }
    const double n = static_cast<double>(state.iterations());
    if (again && read != 0)
        state.SkipWithError("the warm cache read headers again");
    state.counters["capture_s"] = capture / n;
    state.counters["plain_s"] = plain / n;
    state.counters["compose_s"] = compose / n;
    state.counters["compose_ratio"] = capture / compose;
    state.counters["headers_read"] = static_cast<double>(read) / n;
    state.counters["floor_s"] = floor / n;
    state.counters["plain_ratio"] = capture / plain;
    // Reading every header can't come near four plain runs: the bare opening and reading of
    // the files alone takes seven to ten of them here. Its target is that floor; the second
    // run, which reads nothing, is held to four plain runs.
    if (again)
        ReportRatio(state, capture, plain, 4.0);
    else
        ReportRatio(state, capture, floor, 2.0);
}
BENCHMARK(BM_CaptureNamesVersusPlainTrialRun)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
// The trial run as the user has it: the window's own trial run over the same 10,000 photos,
// with names from capture times (a window started anew for each run, so every header is
// read) against the same run with the option off. The bare ratio above also weighs in what no
// reading can avoid: a plain trial run opens no file, while this one must open 10,000.
void BM_WindowTrialCaptureVersusPlain(benchmark::State& state)
{
    std::string folder;
    static const std::vector<std::string> names = MakePhotoFolder(folder);
    folder = MakeBenchFolder("capturenames", 0, "", "");
    const auto trial = [&](bool captureNames) {
        Windows w = StartOn(folder);
        TMain* m = w.Main.get();
        Control<QAction>(m, "CaptureName1")->setChecked(captureNames);
        Control<QCheckBox>(m, "Check1")->setChecked(true);
        Control<QCheckBox>(m, "Check3")->setChecked(true);
        Control<QLineEdit>(m, "textvol")->setText(QStringLiteral("%Y%m%d_%H%M%S_"));
        Control<QLineEdit>(m, "text2")->setText(QStringLiteral("1"));
        Control<QPushButton>(m, "Button3")->click();
        QApplication::processEvents();
        const auto start = Clock::now();
        Control<QPushButton>(m, "Button6")->click();
        const double spent = Since(start);
        const std::string first = Control<NameListView>(m, "NewFile")->names()->names().front();
        Control<QAction>(m, "CaptureName1")->setChecked(false);
        return std::pair(spent, first);
    };
    trial(true); // page cache and first use
    double plain = 0, capture = 0;
    for (auto _ : state) {
        const auto [p, plainFirst] = trial(false);
        const auto [c, captureFirst] = trial(true);
        plain += p;
        capture += c;
        state.SetIterationTime(c);
        if (captureFirst != "20230101_000000_001.JPG" || plainFirst == captureFirst)
            state.SkipWithError(("unexpected first names " + plainFirst + ", " + captureFirst).c_str());
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["capture_s"] = capture / n;
    state.counters["plain_s"] = plain / n;
    state.counters["window_ratio"] = capture / plain;
}
BENCHMARK(BM_WindowTrialCaptureVersusPlain)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
