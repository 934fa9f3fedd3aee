// The picture button on big photos: the time of showing a 6000 x 4000 JPEG through the window
// against a bare full-scale libjpeg decode of the same bytes from memory, and the memory that
// showing a 12000 x 8000 JPEG takes beyond the idle window.
//
// Memory is the resident high-water mark (VmHWM of /proc/self/status): it is reset to the
// current resident size by writing "5" to /proc/self/clear_refs once the window is idle and
// the test file is written, so the peak counted is the show-first operation's own.
#include "bench/benchsupport.h"
#include "support/tempfolder.h"
#include "tests/preview/jpegwriter.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QListView>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A temporary folder holding one JPEG of the given size, removed at exit.
struct PhotoFolder {
    TempFolder root;
    std::string folder;
    std::string bytes;
    PhotoFolder(int width, int height) : folder(root / "photos"), bytes(WriteTestJpeg(width, height, 85))
    {
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/photo.jpg", std::ios::binary) << bytes;
    }
};

// A plain full-scale decode into RGB rows, as a program without any scaling would do it.
void BareDecode(const std::string& bytes)
{
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    std::vector<unsigned char> pixels(static_cast<std::size_t>(cinfo.output_width) * 3 *
                                      cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels.data() + static_cast<std::size_t>(cinfo.output_width) * 3 *
                                           cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    benchmark::DoNotOptimize(pixels.data());
}

// Shows the folder's one photo with the picture button; the picture must really be up.
void ShowFirst(TMain* m)
{
    Control<QPushButton>(m, "Button9")->click();
    if (!Control<QLabel>(m, "Image1")->isVisible())
        throw std::runtime_error("the picture was not shown");
}

void SelectFirstRow(TMain* m)
{
    auto* oldfile = Control<QListView>(m, "oldfile");
    oldfile->selectionModel()->select(oldfile->model()->index(0, 0), QItemSelectionModel::Select);
}

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

void BM_ShowFirstAgainstBareDecode(benchmark::State& state)
{
    PhotoFolder photos(6000, 4000);
    Windows w = StartOn(photos.folder);
    TMain* m = w.Main.get();
    m->show();
    QApplication::processEvents();
    SelectFirstRow(m);
    double show = 0, bare = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        ShowFirst(m);
        const auto t1 = std::chrono::steady_clock::now();
        BareDecode(photos.bytes);
        const auto t2 = std::chrono::steady_clock::now();
        show += Seconds(t1 - t0);
        bare += Seconds(t2 - t1);
        state.SetIterationTime(Seconds(t1 - t0));
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["show_ms"] = 1000 * show / n;
    state.counters["bare_ms"] = 1000 * bare / n;
    ReportRatio(state, show, bare, 0.35);
}
BENCHMARK(BM_ShowFirstAgainstBareDecode)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

long StatusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, key.size(), key) == 0)
            return std::strtol(line.c_str() + key.size(), nullptr, 10);
    throw std::runtime_error("no " + key + " in /proc/self/status");
}

void ResetPeakResident()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.close();
    if (!clear)
        throw std::runtime_error("cannot reset the resident high-water mark");
}

void BM_PeakMemoryShowingA96MegapixelPhoto(benchmark::State& state)
{
    PhotoFolder photos(12000, 8000);
    const double fileMb = static_cast<double>(photos.bytes.size()) / (1 << 20);
    photos.bytes = {};
    photos.bytes.shrink_to_fit();
    Windows w = StartOn(photos.folder);
    TMain* m = w.Main.get();
    m->show();
    QApplication::processEvents();
    SelectFirstRow(m);
    double peakMb = 0;
    for (auto _ : state) {
        ResetPeakResident();
        const long idle = StatusKilobytes("VmRSS");
        ShowFirst(m);
        QApplication::processEvents();  // the picture is painted too
        peakMb = std::max(peakMb, static_cast<double>(StatusKilobytes("VmHWM") - idle) / 1024);
    }
    state.counters["peak_over_idle_MB"] = peakMb;
    // The budget is 64 MB over the idle window, whatever the photo's size.
    ReportRatio(state, peakMb, 64, 1.0);
    state.counters["file_MB"] = fileMb;
}
BENCHMARK(BM_PeakMemoryShowingA96MegapixelPhoto)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
