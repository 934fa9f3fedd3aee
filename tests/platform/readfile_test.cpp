// Reading a whole file and a file's first bytes: what a name can stand for in a photo folder
// besides a photo. Only a regular file is read; nothing else is even opened.
#include "platform/filesystem.h"
#include "platform/filestart.h"

#include "base/errors.h"
#include "support/tempfolder.h"
#include "support/rowname.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ReadCase {
    std::string name; // in the test's folder, or a path of its own
    bool readable;
    std::string content;
};

class ReadWholeFileRows : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadWholeFileRows, ReadsRegularFilesAndRefusesWhatCouldStallOrNeverEnd)
{
    TempFolder t;
    t.Write("photo.jpg", std::string("\xff\xd8\0\x01", 4));
    t.Write("\xff\xfe.jpg", "raw");
    ASSERT_EQ(symlink("photo.jpg", (t / "link.jpg").c_str()), 0);
    ASSERT_EQ(mkfifo((t / "pipe.jpg").c_str(), 0644), 0); // nobody ever writes to it
    t.MakeFolder("folder.jpg");

    const ReadCase& c = GetParam();
    const std::string path = c.name[0] == '/' ? c.name : t / c.name;
    // Tells whether anything opened what the name stands for.
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    const bool watched = inotify_add_watch(watch, path.c_str(), IN_OPEN) >= 0;
    if (c.readable) {
        EXPECT_EQ(platform::ReadWholeFile(path, 1 << 20), c.content);
    } else {
        try {
            platform::ReadWholeFile(path, 1 << 20);
            ADD_FAILURE() << "read without an error";
        } catch (const EFileError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
    }
    platform::FileStartReader start(path);
    EXPECT_EQ(start.valid(), c.readable);
    char buffer[16] = {};
    const std::size_t got = start.ReadUpTo(buffer, 0, sizeof buffer);
    EXPECT_EQ(std::string(buffer, got), c.content);
    char events[4096];
    EXPECT_EQ(watched && read(watch, events, sizeof events) > 0, c.readable);
    close(watch);
}

const ReadCase kReadCases[] = {
    {"photo.jpg", true, std::string("\xff\xd8\0\x01", 4)},
    {"\xff\xfe.jpg", true, "raw"},
    {"link.jpg", true, std::string("\xff\xd8\0\x01", 4)},
    {"missing.jpg", false, {}},
    {"pipe.jpg", false, {}},
    {"folder.jpg", false, {}},
    {"/dev/zero", false, {}},
    {"/dev/null", false, {}},
};

INSTANTIATE_TEST_SUITE_P(ReadWholeFile, ReadWholeFileRows, testing::ValuesIn(kReadCases),
                         RowNames([](const ReadCase& c) { return c.name; }));

TEST(ReadWholeFile, RefusesAFileLargerThanTheLimit)
{
    TempFolder t;
    t.Write("big.jpg", std::string(1000, 'x'));
    EXPECT_EQ(platform::ReadWholeFile(t / "big.jpg", 1000).size(), 1000u);
    EXPECT_THROW(platform::ReadWholeFile(t / "big.jpg", 999), EFileError);
}

} // namespace

// A file another program cuts short while its mapping is read: the pages cut off read as
// zeros instead of ending the program.
TEST(MapWhole, PagesCutOffByAnotherProgramReadAsZeros)
{
    const TempFolder dir;
    const std::string path = dir / "photo.CR2";
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    { std::ofstream(path, std::ios::binary) << std::string(3 * page, 'x'); }
    platform::FileStartReader reader(path);
    const std::string_view whole = reader.MapWhole();
    ASSERT_EQ(whole.size(), 3 * page);
    EXPECT_EQ(whole[2 * page], 'x');
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(page)), 0);
    EXPECT_EQ(whole[0], 'x');
    EXPECT_EQ(whole[2 * page + 1], '\0');
}
