// Every photo and video format read by its content: the capture time, the camera and lens,
// the capture-date order of a folder that mixes them, and hostile files that must give nothing
// without a crash or a hang.
#include "filelist/capturesort.h"
#include "metadata/filefacts.h"

#include "support/formatfiles.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

ExifTags Taken(const std::string& time, const std::string& subSeconds = {})
{
    ExifTags tags;
    tags.DateTimeOriginal = time;
    tags.SubSecTimeOriginal = subSeconds;
    tags.Make = "Maker";
    tags.Model = "Model 1";
    tags.LensModel = "Lens 50mm";
    return tags;
}

ExifTags BigEndian(ExifTags tags)
{
    tags.BigEndian = true;
    return tags;
}

std::string WithMagic(std::string file, const std::string& magic)
{
    file.replace(0, magic.size(), magic);
    return file;
}

// Sets TZ for the life of the object, then puts it back.
class ZoneOverride {
public:
    explicit ZoneOverride(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            old_ = old;
        setenv("TZ", zone, 1);
    }
    ~ZoneOverride() { old_ ? setenv("TZ", old_->c_str(), 1) : unsetenv("TZ"); }

private:
    std::optional<std::string> old_;
};

} // namespace

TEST(FileFacts, EveryFormatByItsContentAndAMixedFolderSortsByCaptureTime)
{
    TempFolder t;
    const std::string heic = HeicFile(Taken("2021:05:01 08:00:00"), t.path());
    struct Row {
        std::string name, content, time;
        bool camera; // maker, model and lens are there
    };
    std::vector<Row> rows = {
        {"a.JPG", JpegWithExif(Taken("2021:05:01 12:00:00", "25")), "2021:05:01 12:00:00.250000000", true},
        {"b.CR2", RawTiffFile(Taken("2021:05:01 07:00:00")), "2021:05:01 07:00:00.000000000", true},
        {"c.NEF", RawTiffFile(BigEndian(Taken("2021:05:01 11:00:00"))), "2021:05:01 11:00:00.000000000", true},
        {"d.ORF", WithMagic(RawTiffFile(Taken("2021:05:01 06:00:00")), "IIRO"), "2021:05:01 06:00:00.000000000", true},
        {"e.RAF", RafFile(Taken("2021:05:01 10:00:00")), "2021:05:01 10:00:00.000000000", true},
        {"f.CR3", Cr3File("Maker", "Model 1", "2021:05:01 05:00:00", "Lens 50mm"), "2021:05:01 05:00:00.000000000", true},
        {"g.png", PngFile(Taken("2021:05:01 04:00:00")), "2021:05:01 04:00:00.000000000", true},
        {"h.webp", WebpFile(Taken("2021:05:01 03:00:00")), "2021:05:01 03:00:00.000000000", true},
        // A raw file under a JPEG's name is read as what it is.
        {"i.JPG", RawTiffFile(Taken("2021:05:01 02:00:00")), "2021:05:01 02:00:00.000000000", true},
        {"j.jpg", WriteTestJpeg(8, 8), "", false},
        {"l.RW2", Rw2File(Taken("2021:05:01 13:00:00")), "2021:05:01 13:00:00.000000000", true},
    };
    if (heic.empty())
        std::cout << "heif-enc is missing or failed: the HEIC row is left out\n";
    else
        rows.push_back({"k.HEIC", heic, "2021:05:01 08:00:00.000000000", true});
    std::vector<std::string> names;
    for (const Row& r : rows) {
        t.Write(r.name, r.content);
        names.push_back(r.name);
        const metadata::FileFacts facts = metadata::FactsOfFile(t / r.name);
        EXPECT_EQ(facts.Time ? CaptureTimeText(*facts.Time) : "", r.time) << r.name;
        const metadata::Camera expected = r.camera ? metadata::Camera{"Maker", "Model 1", "Lens 50mm"} : metadata::Camera{};
        EXPECT_EQ(facts.Taken, expected) << r.name;
    }
    CaptureTimeCache cache;
    const CaptureSortResult sorted = CaptureSortOfFolder(t.path() + "/", names, cache);
    std::vector<std::string> order;
    for (std::size_t i : sorted.Order)
        order.push_back(names[i]);
    std::vector<std::string> expected = {"i.JPG", "h.webp", "g.png", "f.CR3", "d.ORF", "b.CR2"};
    if (!heic.empty())
        expected.push_back("k.HEIC");
    for (const char* name : {"e.RAF", "c.NEF", "a.JPG", "l.RW2", "j.jpg"})
        expected.push_back(name);
    EXPECT_EQ(order, expected);
}

TEST(FileFacts, AMovieIsDatedOnTheLocalClockFromItsUtcCreationTime)
{
    TempFolder t;
    const int64_t utc = 1700000000; // 2023-11-14 22:13:20 UTC
    const struct {
        const char* name;
        std::string content;
    } movies[] = {
        {"a.MOV", MovieFile("qt  ", utc)},
        {"b.MP4", MovieFile("isom", utc, 1)},
        {"c.M4V", MovieFile("M4V ", utc)},
        {"d.3GP", MovieFile("3gp4", utc)},
    };
    const struct {
        const char* zone;
        const char* time;
    } zones[] = {{"UTC0", "2023:11:14 22:13:20.000000000"}, {"JST-9", "2023:11:15 07:13:20.000000000"}};
    for (const auto& z : zones) {
        ZoneOverride zone(z.zone);
        for (const auto& m : movies) {
            const metadata::FileFacts facts = metadata::FactsOfFile(t.Write(m.name, m.content));
            EXPECT_EQ(facts.Time ? CaptureTimeText(*facts.Time) : "", z.time) << m.name << " " << z.zone;
        }
    }
}

TEST(FileFacts, HostileFilesGiveNothingWithoutACrashOrAHang)
{
    TempFolder t;
    const std::string movie = MovieFile("qt  ", 1700000000);
    const std::size_t timeAt = movie.find("mvhd") + 4 + 4; // after the type, version and flags
    std::string shortHeader = movie.substr(0, timeAt - 16) + Be32Bytes(8 + 4 + 2) + "mvhd" +
                              std::string(4, '\0') + "\xde\xad" + std::string(200, '\x7f');
    std::string shortMovie = movie.substr(0, movie.find("moov") - 4) + IsoBox("moov", IsoBox("mvhd", std::string(4, '\0') + "\x01\x02"));
    std::string raf = RafFile(Taken("2021:05:01 10:00:00"));
    raf.replace(84, 4, Be32Bytes(0x7fffff00));
    std::string png = PngFile(Taken("2021:05:01 10:00:00"));
    png.replace(png.find("eXIf") - 4, 4, Be32Bytes(0xfffffff0));
    std::string tiff = RawTiffFile(Taken("2021:05:01 10:00:00"), 0);
    tiff.replace(4, 4, Le32Bytes(0x7ffffff0));
    const struct {
        const char* name;
        std::string content;
    } files[] = {
        {"cut-in-time.MOV", movie.substr(0, timeAt + 2)},
        {"box-cut-in-time.MOV", shortHeader},
        {"short-header.MP4", shortMovie},
        {"zero-time.MOV", MovieFile("qt  ", -2082844800)},
        {"before-1970.MP4", MovieFile("mp42", -86400)},
        {"jpeg-past-end.RAF", raf},
        {"chunk-past-end.png", png},
        {"directory-past-end.DNG", tiff},
        {"cut-box.HEIC", FileTypeBox("heic", "mif1heic") + Be32Bytes(4000) + "meta" + std::string(40, '\0')},
        {"cut-box.CR3", Cr3File("M", "N", "2021:05:01 10:00:00", "L").substr(0, 90)},
        {"garbage.HEIC", FileTypeBox("heic", "mif1") + std::string(3000, '\xff')},
    };
    for (const auto& f : files)
        EXPECT_EQ(metadata::FactsOfFile(t.Write(f.name, f.content)), metadata::FileFacts{}) << f.name;
    ASSERT_EQ(mkfifo((t / "pipe.HEIC").c_str(), 0644), 0); // nobody ever writes to it
    EXPECT_EQ(metadata::FactsOfFile(t / "pipe.HEIC"), metadata::FileFacts{});
}
