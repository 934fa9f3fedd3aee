// The picture button on big photos: the time of showing a 6000 x 4000 JPEG through the window
// against a bare full-scale libjpeg decode of the same bytes from memory, and the memory that
// showing a 12000 x 8000 JPEG takes beyond the idle window. Then the other formats: a raw
// file's 1620 x 1080 embedded preview against libjpeg decoding that preview alone at the same
// scale, and a 4032 x 3024 HEIC against libheif decoding the image it shows.
//
// Memory is the resident high-water mark (VmHWM of /proc/self/status): it is reset to the
// current resident size by writing "5" to /proc/self/clear_refs once the window is idle and
// the test file is written, so the peak counted is the show-first operation's own.
#include "bench/benchsupport.h"
#include "preview/picture.h"
#include "support/rawstandin.h"
#include "support/tempfolder.h"
#include "tests/preview/jpegwriter.h"

#include <libheif/heif.h>

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

// A plain decode into RGB rows at eighths/8 of the full scale (a program without any scaling
// decodes at 8/8).
void BareDecode(const std::string& bytes, unsigned int eighths = 8)
{
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    cinfo.scale_num = eighths;
    cinfo.scale_denom = 8;
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

// Shows the file at path through the preview module, as the picture button does, and
// returns the time taken, checking that a picture came out.
double ShowPicture(const std::string& path)
{
    const auto t0 = std::chrono::steady_clock::now();
    const preview::DecodedJpeg decoded = preview::LoadPictureForPreview(path, 1.0);
    const auto t1 = std::chrono::steady_clock::now();
    if (decoded.image.isNull())
        throw std::runtime_error("no picture");
    return Seconds(t1 - t0);
}

// A raw-sized file: the embedded preview, then 24 MiB standing for the sensor data.
void BM_RawPreviewAgainstDecodingThePreviewAlone(benchmark::State& state)
{
    TempFolder folder;
    const std::string jpeg = WriteTestJpeg(1620, 1080, 90);
    std::string raw = MakeRawStandIn(jpeg, 1);
    raw.append(24 << 20, '\x5a');
    const std::string path = folder.Write("photo.CR2", raw);
    // The box of 1620 x 1080 is 80 x 53; twice that is covered at 1/8.
    if (preview::LoadPictureForPreview(path, 1.0).image.width() != 203)
        throw std::runtime_error("the preview was not decoded at 1/8");
    double show = 0, bare = 0;
    for (auto _ : state) {
        show += ShowPicture(path);
        const auto t0 = std::chrono::steady_clock::now();
        BareDecode(jpeg, 1);
        bare += Seconds(std::chrono::steady_clock::now() - t0);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["show_ms"] = 1000 * show / n;
    state.counters["bare_ms"] = 1000 * bare / n;
    ReportRatio(state, show, bare, 1.25);
}
BENCHMARK(BM_RawPreviewAgainstDecodingThePreviewAlone)->Unit(benchmark::kMillisecond)->Iterations(200);

// libheif alone: the file read, the primary image (or its first thumbnail) decoded to RGB.
void BareHeifDecode(const std::string& path, bool thumbnail)
{
    heif_context* context = heif_context_alloc();
    heif_image_handle* primary = nullptr;
    heif_image_handle* item = nullptr;
    heif_item_id id = 0;
    heif_image* image = nullptr;
    if (heif_context_read_from_file(context, path.c_str(), nullptr).code != heif_error_Ok ||
        heif_context_get_primary_image_handle(context, &primary).code != heif_error_Ok ||
        (thumbnail && (heif_image_handle_get_list_of_thumbnail_IDs(primary, &id, 1) != 1 ||
                       heif_image_handle_get_thumbnail(primary, id, &item).code != heif_error_Ok)) ||
        heif_decode_image(thumbnail ? item : primary, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                          nullptr).code != heif_error_Ok)
        throw std::runtime_error("libheif failed");
    benchmark::DoNotOptimize(heif_image_get_plane_readonly(image, heif_channel_interleaved, nullptr));
    heif_image_release(image);
    if (item)
        heif_image_handle_release(item);
    heif_image_handle_release(primary);
    heif_context_free(context);
}

// Argument 0: a HEIC as an encoder writes it by default; 1: with a 320 x 240 thumbnail, as
// phones store theirs, which covers the box and is what the preview then decodes.
void BM_HeicAgainstLibheifDecode(benchmark::State& state)
{
    const bool thumbnail = state.range(0) != 0;
    TempFolder folder;
    const std::string jpeg = folder.Write("in.jpg", WriteTestJpeg(4032, 3024, 90));
    const std::string path = folder / "photo.heic";
    // An earlier benchmark's window may have left the process in a folder that is gone.
    std::filesystem::current_path(folder.path());
    const std::string command = "heif-enc -q 80 " + std::string(thumbnail ? "-t 320 " : "") + "-o '" + path +
                                "' '" + jpeg + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        state.SkipWithError("heif-enc is missing");
        return;
    }
    double show = 0, bare = 0;
    for (auto _ : state) {
        show += ShowPicture(path);
        const auto t0 = std::chrono::steady_clock::now();
        BareHeifDecode(path, thumbnail);
        bare += Seconds(std::chrono::steady_clock::now() - t0);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["show_ms"] = 1000 * show / n;
    state.counters["bare_ms"] = 1000 * bare / n;
    ReportRatio(state, show, bare, 1.25);
}
BENCHMARK(BM_HeicAgainstLibheifDecode)->Arg(0)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeicAgainstLibheifDecode)->Arg(1)->Iterations(50)->Unit(benchmark::kMillisecond);

} // namespace
