// The preview's picture from files on disk: huge files are never read whole, and damaged raw
// and HEIF files end in a picture or the picture error.
#include "preview/jpegwriter.h"
#include "preview/picture.h"

#include "support/rawstandin.h"
#include "support/rowname.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <jerror.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <string>

namespace {

// Bytes this process has read from files so far.
std::uint64_t BytesRead()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    return 0;
}

std::string Outcome(const std::string& path)
{
    try {
        const preview::DecodedJpeg decoded = preview::LoadPictureForPreview(path, 1.0);
        return std::to_string(decoded.image.width()) + " x " + std::to_string(decoded.image.height());
    } catch (const std::exception& e) {
        return e.what();
    }
}

struct HugeCase {
    const char* label;
    const char* name;
    std::string start;  // the file's first bytes; the rest up to 2 GiB is a hole of zeros
    const char* outcome;
};

class HugeFile : public testing::TestWithParam<HugeCase> {};

// A 2 GiB file takes neither the memory nor the time of reading it: only what the decoding
// reaches is read.
TEST_P(HugeFile, IsReadOnlyAsFarAsTheDecodingGoes)
{
    const HugeCase& c = GetParam();
    TempFolder folder;
    const std::string path = folder.Write(c.name, c.start);
    std::error_code error;
    std::filesystem::resize_file(path, std::uintmax_t{2} << 30, error);
    if (error)
        GTEST_SKIP() << "no 2 GiB file here: " << error.message();
    const std::uint64_t before = BytesRead();
    std::string outcome = Outcome(path);
    EXPECT_LT(BytesRead() - before, std::uint64_t{1} << 20);
    if (outcome.find(path) != std::string::npos)
        outcome.replace(outcome.find(path), path.size(), "PATH");
    EXPECT_EQ(outcome, c.outcome);
}

INSTANTIATE_TEST_SUITE_P(
    Huge, HugeFile,
    testing::Values(HugeCase{"zeros", "huge.jpg", "", "JPEG ｴﾗｰ #53"},
                    HugeCase{"photo then zeros", "photo.jpg", WriteTestJpeg(640, 480), "160 x 120"},
                    HugeCase{"zeros named raw", "huge.CR2", "", "ﾌｧｲﾙ PATH の画像を表示できません"}),
    RowNames([](const HugeCase& c) { return std::string(c.label); }));

static_assert(JERR_NO_SOI == 53, "the table above names the library's code for a file that is no JPEG");

// Damaged copies of a raw file and of a HEIC (where the encoder is there): each ends in a
// picture or the picture error, never a crash, a hang or another error.
TEST(DamagedPictures, EndInAPictureOrThePictureError)
{
    TempFolder folder;
    std::vector<std::pair<std::string, std::string>> originals = {
        {"r.nef", MakeRawStandIn(WriteTestJpeg(64, 48), 6)}};
    const std::string jpeg = folder.Write("in.jpg", WriteTestJpeg(64, 48));
    const std::string command = "heif-enc -q 50 -o '" + folder.path() + "/h.heic' '" + jpeg + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) == 0)
        originals.emplace_back("h.heic", folder.Read("h.heic"));
    std::mt19937 random(20261209);
    for (const auto& [name, good] : originals) {
        int shown = 0, failed = 0;
        for (int round = 0; round < 250; ++round) {
            std::string bytes = good;
            for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n) {
                const std::size_t at = random() % bytes.size();
                if (random() % 5 == 0)
                    bytes.resize(at + 1);
                else
                    bytes[at] = static_cast<char>(random());
            }
            const std::string path = folder.Write(name, bytes);
            const std::string outcome = Outcome(path);
            if (outcome == "ﾌｧｲﾙ " + path + " の画像を表示できません")
                ++failed;
            else if (std::regex_match(outcome, std::regex("[1-9][0-9]* x [1-9][0-9]*")))
                ++shown;
            else
                FAIL() << name << " round " << round << ": " << outcome;
        }
        EXPECT_GT(shown, 25) << name;
        EXPECT_GT(failed, 25) << name;
    }
}

} // namespace
