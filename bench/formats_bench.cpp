// The first capture-date sort of a folder of 10,000 files of one format, against the floor of
// reading them: a single-threaded open + read of 64 KiB + close of the same files ("ratio",
// by the clock, the files in the page cache). Formats: JPEG as cameras write it (thumbnail,
// JFIF first), the same with a 16 KiB XMP packet after the EXIF block, HEIC made by heif-enc,
// CR3 and a TIFF-based raw file; the containers carry 64 KiB of picture data after their
// metadata, as real files carry far more. Every iteration makes every capture time unknown
// (a new status time), so each sort reads every file as the first sort of a folder does.
// Then the first trial run with names from capture times over 100,000 JPEG files (a window
// started anew, so every file is read), held to 3 seconds ("ratio" is its time over 3 s).
#include "bench/benchsupport.h"
#include "support/formatfiles.h"

#include "filelist/widgets/namelistview.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kFiles = 10000;
using Clock = std::chrono::steady_clock;

enum Format { Jpeg, JpegXmp, Heic, Cr3, RawTiff };
constexpr const char* kExtension[] = {".JPG", ".JPG", ".HEIC", ".CR3", ".NEF"};
constexpr double kTarget[] = {1.0, 1.0, 1.5, 1.5, 1.5};

std::string XmpSegment()
{
    std::string packet = "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?><x:xmpmeta xmlns:x='adobe:ns:meta/'>"
                         "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>"
                         "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/'>"
                         "<dc:description>";
    packet += std::string(16384 - packet.size() - 64, 'x');
    packet += "</dc:description></rdf:Description></rdf:RDF></x:xmpmeta><?xpacket end='w'?>";
    return JpegSegment(0xe1, std::string("http://ns.adobe.com/xap/1.0/\0", 29) + packet);
}

std::string FileOf(Format format, const std::string& time, const std::string& workFolder, std::string& heic)
{
    ExifTags tags;
    tags.DateTimeOriginal = time;
    tags.DateTimeDigitized = time;
    tags.DateTime = "2024:01:01 00:00:00";
    tags.Model = "Model 1";
    tags.LensModel = "Lens 50mm";
    const std::string picture(64 * 1024, '\x55');
    switch (format) {
    case Jpeg:
    case JpegXmp: {
        tags.Thumbnail = WriteTestJpeg(160, 120);
        std::string file = JpegWithExif(tags, {.JfifFirst = true, .Width = 64, .Height = 48});
        if (format == JpegXmp) {
            const std::size_t exif = file.find("Exif") - 4;
            const std::size_t end = exif + 2 + (static_cast<unsigned char>(file[exif + 2]) << 8 |
                                                static_cast<unsigned char>(file[exif + 3]));
            file.insert(end, XmpSegment());
        }
        return file;
    }
    case Heic: {
        // heif-enc is slow: one file is made, and each copy gets its own time in place.
        if (heic.empty())
            heic = HeicFile(tags, workFolder) + IsoBox("free", picture);
        std::string file = heic;
        const std::size_t at = file.find("2023:");
        if (at != std::string::npos)
            file.replace(at, time.size(), time);
        return file;
    }
    case Cr3:
        return Cr3File("Canon", "Model 1", time, "Lens 50mm") + IsoBox("mdat", picture);
    case RawTiff:
        return RawTiffFile(tags, picture.size());
    }
    return {};
}

std::string MakeFolder(Format format)
{
    const std::string folder = MakeBenchFolder("formats" + std::to_string(format), 0, "", "");
    std::mt19937 random(20);
    std::vector<int> minutes(kFiles);
    for (int i = 0; i < kFiles; ++i)
        minutes[static_cast<std::size_t>(i)] = i;
    std::shuffle(minutes.begin(), minutes.end(), random);
    std::string heic;
    char text[32], name[32];
    for (int i = 0; i < kFiles; ++i) {
        const int m = minutes[static_cast<std::size_t>(i)];
        std::snprintf(text, sizeof text, "2023:%02d:%02d %02d:%02d:00", m / 1440 % 12 + 1,
                      m / 1440 / 12 % 28 + 1, m / 60 % 24, m % 60);
        std::snprintf(name, sizeof name, "/IMG_%05d", i);
        std::ofstream(folder + name + kExtension[format], std::ios::binary) << FileOf(format, text, folder, heic);
    }
    std::remove((folder + "/heif-source.jpg").c_str());
    std::remove((folder + "/heif-made.heic").c_str());
    return folder;
}

std::vector<std::string> PathsOf(const std::string& folder, Format format)
{
    std::vector<std::string> paths;
    char name[32];
    for (int i = 0; i < kFiles; ++i) {
        std::snprintf(name, sizeof name, "/IMG_%05d", i);
        paths.push_back(folder + name + kExtension[format]);
    }
    return paths;
}

double FloorSeconds(const std::vector<std::string>& paths)
{
    static char buffer[64 * 1024];
    const auto start = Clock::now();
    for (const std::string& p : paths) {
        const int fd = open(p.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        benchmark::DoNotOptimize(read(fd, buffer, sizeof buffer));
        close(fd);
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_FirstCaptureSortVersusReadingFloor(benchmark::State& state)
{
    const auto format = static_cast<Format>(state.range(0));
    const std::string folder = MakeFolder(format);
    const std::vector<std::string> paths = PathsOf(folder, format);
    Windows w = StartOn(folder);
    TMain* m = w.Main.get();
    m->show();
    QAction* sort = Control<QAction>(m, "N15");
    sort->trigger(); // warms the page cache and the first-use costs alike
    FloorSeconds(paths);
    double capture = 0, floor = 0;
    for (auto _ : state) {
        for (const std::string& p : paths)
            chmod(p.c_str(), 0644); // no capture time known from before holds
        sync();
        floor += FloorSeconds(paths);
        const auto start = Clock::now();
        sort->trigger();
        const double c = std::chrono::duration<double>(Clock::now() - start).count();
        capture += c;
        state.SetIterationTime(c);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["capture_s"] = capture / n;
    state.counters["floor_s"] = floor / n;
    ReportRatio(state, capture, floor, kTarget[format]);
}
BENCHMARK(BM_FirstCaptureSortVersusReadingFloor)
    ->ArgName("format")
    ->DenseRange(Jpeg, RawTiff)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_FirstCaptureNamesTrialOf100000Jpegs(benchmark::State& state)
{
    constexpr int kMany = 100000;
    const std::string folder = MakeBenchFolder("trial100k", 0, "", "");
    ExifTags tags;
    tags.DateTimeOriginal = "2023:01:01 00:00:00";
    tags.Thumbnail = WriteTestJpeg(160, 120);
    const std::string photo = JpegWithExif(tags, {.JfifFirst = true, .Width = 64, .Height = 48});
    const std::size_t at = photo.find("2023:01:01 00:00:00");
    char text[32], name[32];
    for (int i = 0; i < kMany; ++i) {
        std::string file = photo;
        const int s = kMany - i; // capture order against the names' order
        std::snprintf(text, sizeof text, "2023:%02d:%02d %02d:%02d:%02d", s / 86400 % 12 + 1, s / 3600 % 28 + 1,
                      s / 3600 % 24, s / 60 % 60, s % 60);
        file.replace(at, 19, text);
        std::snprintf(name, sizeof name, "/IMG_%06d.JPG", i);
        std::ofstream(folder + name, std::ios::binary) << file;
    }
    const auto trial = [&] {
        Windows w = StartOn(folder);
        TMain* m = w.Main.get();
        Control<QAction>(m, "CaptureName1")->setChecked(true);
        Control<QCheckBox>(m, "Check1")->setChecked(true);
        Control<QCheckBox>(m, "Check3")->setChecked(true);
        Control<QLineEdit>(m, "textvol")->setText(QStringLiteral("%Y%m%d_%H%M%S_"));
        Control<QPushButton>(m, "Button3")->click(); // every row selected
        QApplication::processEvents();
        const auto start = Clock::now();
        Control<QPushButton>(m, "Button6")->click();
        const double spent = std::chrono::duration<double>(Clock::now() - start).count();
        const std::string last = Control<NameListView>(m, "NewFile")->names()->names().back();
        Control<QAction>(m, "CaptureName1")->setChecked(false);
        return std::pair(spent, last);
    };
    trial(); // page cache and first use
    double spent = 0;
    for (auto _ : state) {
        const auto [seconds, last] = trial();
        spent += seconds;
        state.SetIterationTime(seconds);
        if (last.rfind("2023", 0) != 0)
            state.SkipWithError(("unexpected last name " + last).c_str());
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["trial_s"] = spent / n;
    ReportRatio(state, spent / n, 3.0, 1.0);
}
BENCHMARK(BM_FirstCaptureNamesTrialOf100000Jpegs)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace
