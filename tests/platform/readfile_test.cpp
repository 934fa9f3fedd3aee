// Reading a whole file: what a name can stand for in a photo folder besides a photo.
#include "platform/filesystem.h"

#include "base/errors.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(ReadWholeFile, ReadsRegularFilesAndRefusesWhatCouldStallOrNeverEnd)
{
    TempFolder t;
    t.Write("photo.jpg", std::string("\xff\xd8\0\x01", 4));
    t.Write("\xff\xfe.jpg", "raw");
    ASSERT_EQ(symlink("photo.jpg", (t / "link.jpg").c_str()), 0);
    ASSERT_EQ(mkfifo((t / "pipe.jpg").c_str(), 0644), 0); // nobody ever writes to it
    t.MakeFolder("folder.jpg");

    const struct {
        std::string path;
        bool readable;
        std::string content;
    } cases[] = {
        {t / "photo.jpg", true, std::string("\xff\xd8\0\x01", 4)},
        {t / "\xff\xfe.jpg", true, "raw"},
        {t / "link.jpg", true, std::string("\xff\xd8\0\x01", 4)},
        {t / "missing.jpg", false, {}},
        {t / "pipe.jpg", false, {}},
        {t / "folder.jpg", false, {}},
        {"/dev/zero", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        if (c.readable) {
            EXPECT_EQ(platform::ReadWholeFile(c.path, 1 << 20), c.content);
        } else {
            try {
                platform::ReadWholeFile(c.path, 1 << 20);
                ADD_FAILURE() << "read without an error";
            } catch (const EFileError& e) {
                EXPECT_NE(std::string(e.what()).find(c.path), std::string::npos) << e.what();
            }
        }
    }
}

TEST(ReadWholeFile, RefusesAFileLargerThanTheLimit)
{
    TempFolder t;
    t.Write("big.jpg", std::string(1000, 'x'));
    EXPECT_EQ(platform::ReadWholeFile(t / "big.jpg", 1000).size(), 1000u);
    EXPECT_THROW(platform::ReadWholeFile(t / "big.jpg", 999), EFileError);
}

} // namespace
