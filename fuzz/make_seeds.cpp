// Writes the seed inputs of naming_fuzz, sortkeys_fuzz and texthelpers_fuzz into a corpus
// folder (fuzz/corpus): `build-fuzz/make_seeds fuzz/corpus`. Each seed is written in the order
// its target reads its values, and read back before it is written. capturetime_fuzz gets one
// small real file of every format whose capture time is read.
#include "seedwriter.h"
#include "support/formatfiles.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Seed {
    std::string target, name;
    SeedWriter input;
};

// naming_fuzz reads the options, the counter number, the typed texts, then the name.
struct NamingCase {
    const char* seed;
    bool changeText, padDigits, sequential, changeExt;
    std::string extLowerCase, jpegToJpg;  // "on" or any other text
    int digitCount;
    int32_t number;
    std::string newText, newExt, name;
};

SeedWriter Naming(const NamingCase& c)
{
    SeedWriter w;
    w.Bool(c.changeText).Bool(c.padDigits).Bool(c.sequential).Bool(c.changeExt);
    for (const std::string& flag : {c.extLowerCase, c.jpegToJpg}) {
        w.Bool(flag == "on");
        if (flag != "on")
            w.String(4, flag);
    }
    w.IntInRange(-2, 40, c.digitCount).Int(c.number);
    w.String(64, c.newText).String(16, c.newExt).Rest(c.name);
    return w;
}

// sortkeys_fuzz reads a local time, the direction of the move, then rows: each a selection
// flag and a name.
struct SortKeysCase {
    const char* seed;
    int tmYear;       // tm_year as read in full
    bool yearInRange; // then read again from 70..220 instead
    int tmYearInRange;
    int mon, mday, hour, min, sec;
    bool up;
    std::vector<std::pair<bool, std::string>> rows;
};

SeedWriter SortKeys(const SortKeysCase& c)
{
    SeedWriter w;
    w.Int(c.tmYear).IntInRange(-2, 13, c.mon).IntInRange(-1, 32, c.mday).IntInRange(-1, 24, c.hour);
    w.IntInRange(-1, 60, c.min).IntInRange(-1, 61, c.sec).Bool(c.yearInRange);
    if (c.yearInRange)
        w.IntInRange(70, 220, c.tmYearInRange);
    w.Bool(c.up);
    for (const auto& [selected, name] : c.rows)
        w.Bool(selected).String(24, name);
    return w;
}

// texthelpers_fuzz reads the cut length, the start and count of the middle piece, the two
// counter values, then the text.
struct TextCase {
    const char* seed;
    int n, start;
    bool anyCount; // count read in full rather than from -3..300
    int count, counterN, counterT;
    std::string text;
};

SeedWriter Text(const TextCase& c)
{
    SeedWriter w;
    w.Int(c.n).IntInRange(-3, 300, c.start).Bool(c.anyCount);
    if (c.anyCount)
        w.Int(c.count);
    else
        w.IntInRange(-3, 300, c.count);
    w.Int(c.counterN).Int(c.counterT).Rest(c.text);
    return w;
}

std::vector<Seed> Seeds()
{
    std::vector<Seed> seeds;
    const NamingCase naming[] = {
        // A hidden file's whole name is its extension, lowered as asked.
        {"hidden", false, false, false, false, "on", "off", 3, 1, "", "", ".Hidden"},
        // "IMG_0001.JPEG" padded to five digits, ".JPEG" lowered and shortened: IMG_00001.jpg.
        {"jpeg", false, true, false, false, "on", "on", 5, 1, "photo", "jpg", "IMG_0001.JPEG"},
        // A digit run past INT32_MAX can't be padded: the conversion error.
        {"overflow", false, true, false, false, "off", "off", 10, 0, "", "", "abc99999999999.txt"},
        // UTF-8 text typed and in the name, counted from 7 with three digits, the last of two
        // extensions kept.
        {"utf8", true, false, true, false, "ON", "", 3, 7, "\xe5\x86\x99\xe7\x9c\x9f_", "",
         "\xe3\x81\x82\xe3\x81\x84" "001.tar.gz"},
    };
    for (const NamingCase& c : naming)
        seeds.push_back({"naming_fuzz", c.seed, Naming(c)});

    const SortKeysCase sortKeys[] = {
        // 2001-02-03 04:05:06; extensions of mixed case and length, two rows moved down.
        {"exts", 0, true, 101, 1, 3, 4, 5, 6, false,
         {{true, "b.JPG"}, {false, "a.jpg"}, {true, "c.jpeg"}, {false, "readme"},
          {false, "e.jpg"}, {false, "f.txt"}, {false, ".bashrc"}, {false, "g.JPG"}}},
        // A thirteenth month packs to -1; keys that are not UTF-8, the first row selected so
        // the move up does nothing.
        {"invalid", 101, false, 0, 12, 1, 0, 0, 0, true,
         {{true, "\xff\xfe.x"}, {false, "a.\xff"}, {false, ".\xc3\xa9"}, {true, "b.\xfe"},
          {false, "c.X"}, {false, "d.\xc3"}, {false, "e.\xff\\"}}},
        // A year no int holds once 1900 is added; the last row selected, moved down: nothing.
        {"far-year", INT_MAX, false, 0, 11, 31, 23, 59, 60, false,
         {{false, "x.a"}, {false, "y.A"}, {true, "z.a"}}},
    };
    for (const SortKeysCase& c : sortKeys)
        seeds.push_back({"sortkeys_fuzz", c.seed, SortKeys(c)});

    const TextCase text[] = {
        // A hexadecimal integer: "$FFFFFFFF" is -1.
        {"hex", 2, 1, false, 3, 7, 12, "$FFFFFFFF"},
        // The smallest integer after a space, a count no int sum holds.
        {"int", 1, 2, true, INT_MAX, 0, 999, " -2147483648"},
        // UTF-8, a stray byte and a cut sequence; counters that are negative or too wide.
        {"mixed", 3, 2, false, 5, 1234, -5, "\xe3\x81\x82\xe3\x81\x84" "abc\xff\xc3"},
    };
    for (const TextCase& c : text)
        seeds.push_back({"texthelpers_fuzz", c.seed, Text(c)});
    return seeds;
}

// Whole files for capturetime_fuzz, by name.
std::vector<std::pair<std::string, std::string>> FormatSeeds(const std::string& workFolder)
{
    ExifTags tags;
    tags.DateTimeOriginal = "2021:05:01 12:00:00";
    tags.SubSecTimeOriginal = "25";
    tags.Model = "Model 1";
    tags.LensModel = "Lens 50mm";
    ExifTags big = tags;
    big.BigEndian = true;
    std::vector<std::pair<std::string, std::string>> seeds = {
        {"format-jpeg", JpegWithExif(tags)},
        {"format-tiff-raw", RawTiffFile(tags, 64)},
        {"format-tiff-big-endian", RawTiffFile(big, 64)},
        {"format-orf", "IIRO" + RawTiffFile(tags, 64).substr(4)},
        {"format-rw2", Rw2File(tags).substr(0, 1200)},
        {"format-raf", RafFile(tags).substr(0, 2048)},
        {"format-cr3", Cr3File("Canon", "Model 1", "2021:05:01 12:00:00", "Lens 50mm").substr(0, 1024)},
        {"format-png", PngFile(tags)},
        {"format-webp", WebpFile(tags)},
        {"format-mov", MovieFile("qt  ", 1700000000, 0, 16)},
        {"format-mp4-version1", MovieFile("isom", 1700000000, 1, 16)},
    };
    const std::string heic = HeicFile(tags, workFolder);
    if (!heic.empty())
        seeds.emplace_back("format-heic", heic);
    return seeds;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds <corpus folder>\n");
        return 2;
    }
    const std::string corpus = argv[1];
    for (const auto& [name, bytes] : FormatSeeds(corpus + "/capturetime_fuzz")) {
        std::ofstream out(corpus + "/capturetime_fuzz/" + name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::remove((corpus + "/capturetime_fuzz/heif-source.jpg").c_str());
    std::remove((corpus + "/capturetime_fuzz/heif-made.heic").c_str());
    for (const Seed& seed : Seeds()) {
        const std::string path = corpus + "/" + seed.target + "/" + seed.name;
        if (!seed.input.Check()) {
            std::fprintf(stderr, "%s does not read back as written\n", path.c_str());
            return 1;
        }
        const std::string bytes = seed.input.Bytes();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
