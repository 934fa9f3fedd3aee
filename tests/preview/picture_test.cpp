// The preview's picture from a huge file on disk: it is read only as far as the decoding goes.
#include "preview/jpegwriter.h"
#include "preview/picture.h"
#include "support/rawstandin.h"
#include "support/rowname.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <jerror.h>
#include <filesystem>
#include <fstream>

namespace {

// Bytes this process has read from files so far.
std::uint64_t BytesRead()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    for (std::uint64_t value = 0; io >> key >> value;)
        if (key == "rchar:")
            return value;
    return 0;
}

std::string Outcome(const std::string& path)
{
    try {
        const QImage image = preview::LoadPictureForPreview(path, 1.0).image;
        return std::to_string(image.width()) + " x " + std::to_string(image.height());
    } catch (const std::exception& e) {
        std::string text = e.what();
        return text.find(path) == std::string::npos ? text : text.replace(text.find(path), path.size(), "PATH");
    }
}

struct HugeCase {
    const char* name;
    std::string start;  // the file's first bytes; a hole of zeros follows up to 2 GiB
    std::string outcome;
    std::uint64_t mostRead = 1 << 20;
};

class HugeFile : public testing::TestWithParam<HugeCase> {};

TEST_P(HugeFile, IsReadOnlyAsFarAsTheDecodingGoes)
{
    TempFolder folder;
    const std::string path = folder.Write(GetParam().name, GetParam().start);
    std::error_code error;
    std::filesystem::resize_file(path, std::uintmax_t{2} << 30, error);
    if (error)
        GTEST_SKIP() << "no 2 GiB file here: " << error.message();
    const std::uint64_t before = BytesRead();
    EXPECT_EQ(Outcome(path), GetParam().outcome);
    EXPECT_LT(BytesRead() - before, GetParam().mostRead);
}

INSTANTIATE_TEST_SUITE_P(
    Huge, HugeFile,
    testing::Values(HugeCase{"zeros.jpg", "", "JPEG ｴﾗｰ #" + std::to_string(JERR_NO_SOI)},
                    HugeCase{"photo then zeros.jpg", WriteTestJpeg(640, 480), "160 x 120"},
                    HugeCase{"cut photo then zeros.jpg", WriteTestJpeg(640, 480).substr(0, 9000), "160 x 120"},
                    HugeCase{"start then zeros.jpg", "\xff\xd8", "JPEG ｴﾗｰ #" + std::to_string(JERR_NO_IMAGE), 17 << 20},
                    HugeCase{"zeros.CR2", "", "ﾌｧｲﾙ PATH の画像を表示できません"}),
    RowNames([](const HugeCase& c) { return std::string(c.name); }));

} // namespace
