// The capture-date sort of a folder of 10,000 JPEG files with EXIF blocks (a thumbnail inside,
// after a JFIF segment, as cameras write them), against the date sort of the same folder in
// the same run. "ratio" is the capture sort's time over the date sort's by the clock, summed
// over the iterations; the headers are read on every core, so "cpu_ratio" (processor time of
// every thread) tells how much more work the capture sort is. "capture_s" is
// one capture sort by the clock with the files in the page cache. The first case reads every
// header, as the first sort of a folder does; the second sorts the folder again, when the
// capture times of unchanged files are known.
#include "bench/benchsupport.h"
#include "support/exifjpeg.h"

#include <QAction>
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kFiles = 10000;
using Clock = std::chrono::steady_clock;

// Capture times in a shuffled order, so that neither the names nor the modification times
// (the files are written one after another) give the capture order away.
std::string MakePhotoFolder()
{
    const std::string folder = MakeBenchFolder("capture", 0, "", "");
    std::mt19937 random(20);
    std::vector<int> minutes(kFiles);
    for (int i = 0; i < kFiles; ++i)
        minutes[static_cast<std::size_t>(i)] = i;
    std::shuffle(minutes.begin(), minutes.end(), random);
    ExifTags tags;
    tags.Thumbnail = WriteTestJpeg(160, 120);
    tags.DateTime = "2024:01:01 00:00:00";
    char text[32], name[32];
    for (int i = 0; i < kFiles; ++i) {
        const int m = minutes[static_cast<std::size_t>(i)];
        std::snprintf(text, sizeof text, "2023:%02d:%02d %02d:%02d:00", m / 1440 % 12 + 1,
                      m / 1440 / 12 % 28 + 1, m / 60 % 24, m % 60);
        tags.DateTimeOriginal = text;
        tags.DateTimeDigitized = text;
        std::snprintf(name, sizeof name, "/IMG_%05d.JPG", i);
        std::ofstream(folder + name, std::ios::binary)
            << JpegWithExif(tags, {.JfifFirst = true, .Width = 64, .Height = 48});
    }
    return folder;
}

struct Timing {
    double wall = 0, processor = 0;
};

Timing Seconds(TMain* m, const char* entry)
{
    const double processor = ProcessCpuSeconds();
    const auto start = Clock::now();
    Control<QAction>(m, entry)->trigger();
    return {std::chrono::duration<double>(Clock::now() - start).count(), ProcessCpuSeconds() - processor};
}

// Changes every file's status time, so that no capture time known from before holds.
void ForgetKnownTimes(const std::string& folder)
{
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/IMG_%05d.JPG", i);
        chmod((folder + name).c_str(), 0644);
    }
    // The changed inodes are written out now, not by the kernel's flusher during the sort.
    sync();
}

// Arg 0: every header read (the first sort of a folder); arg 1: the same folder sorted again,
// its capture times known from the sort before.
void BM_CaptureSortVersusDateSort(benchmark::State& state)
{
    const bool again = state.range(0) == 1;
    const std::string folder = MakePhotoFolder();
    Windows w = StartOn(folder);
    TMain* m = w.Main.get();
    m->show();
    Seconds(m, "N15"); // warms the page cache and the first-use costs alike
    Seconds(m, "N6");
    Timing capture, date;
    for (auto _ : state) {
        if (!again)
            ForgetKnownTimes(folder);
        const Timing d = Seconds(m, "N6");
        const Timing c = Seconds(m, "N15");
        date.wall += d.wall;
        date.processor += d.processor;
        capture.wall += c.wall;
        capture.processor += c.processor;
        state.SetIterationTime(c.wall);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["capture_s"] = capture.wall / n;
    state.counters["date_s"] = date.wall / n;
    state.counters["ratio"] = capture.wall / date.wall;
    state.counters["cpu_ratio"] = capture.processor / date.processor;
    state.counters["target"] = again ? 1.5 : 3.5;
}
BENCHMARK(BM_CaptureSortVersusDateSort)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
} // namespace
