// The program's own files (Pelkorin.ini, pelkorin.conf, the records and their lock) in hostile
// places: a named pipe, a device or a folder in their place or at the end of their links is
// never written through, replaced or waited on; the writer says which file it could not write.
#include "base/errors.h"
#include "platform/statefile.h"
#include "settings/extraoptions.h"
#include "settings/settingsfile.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A test that would block on a pipe ends with a signal instead of a hang.
struct Deadline {
    Deadline() { alarm(20); }
    ~Deadline() { alarm(0); }
};

struct Writer {
    const char* label;
    const char* name; // the file's name in its folder
    std::function<void(const std::string& folder)> write;
};

const Writer kWriters[] = {
    {"Pelkorin.ini", "Pelkorin.ini", [](const std::string& folder) { WriteSettingsFile(folder, SettingsValues{}); }},
    {"pelkorin.conf", "pelkorin.conf",
     [](const std::string& folder) {
         setenv("XDG_CONFIG_HOME", fs::path(folder).parent_path().c_str(), 1);
         WriteExtraOptions({true, true});
     }},
    {"a record", "last-execution.undo",
     [](const std::string& folder) { platform::WriteFileDurably(folder + "/last-execution.undo", "record"); }},
};

// What stands in the file's place: made under `at`, with `aside` a free name beside it.
struct Hostile {
    const char* label;
    bool link; // a symbolic link to the thing, made aside, stands in the file's place
    std::function<bool(const std::string& at)> make;
    mode_t type;
};

const Hostile kHostiles[] = {
    {"a named pipe", false, [](const std::string& at) { return mkfifo(at.c_str(), 0600) == 0; }, S_IFIFO},
    {"a link to a named pipe", true, [](const std::string& at) { return mkfifo(at.c_str(), 0600) == 0; }, S_IFIFO},
    // A device node of the test's own (the null device's numbers), never a machine's.
    {"a link to a device", true,
     [](const std::string& at) { return mknod(at.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0; }, S_IFCHR},
    {"a device", false, [](const std::string& at) { return mknod(at.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0; },
     S_IFCHR},
    {"a link to a folder", true, [](const std::string& at) { return mkdir(at.c_str(), 0700) == 0; }, S_IFDIR},
};

TEST(OwnFiles, NothingButARegularFileIsWrittenOrWaitedOn)
{
    const Deadline deadline;
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string keptConfig = oldConfig ? oldConfig : "";
    for (const Writer& w : kWriters) {
        for (const Hostile& h : kHostiles) {
            SCOPED_TRACE(std::string(w.label) + " in " + h.label);
            const TempFolder dir;
            const std::string folder = dir / "pelkorin";
            fs::create_directory(folder);
            const std::string path = folder + "/" + w.name;
            const std::string thing = h.link ? dir / "elsewhere" : path;
            if (!h.make(thing))
                GTEST_SKIP() << "can't make " << h.label << " (mknod needs root)";
            if (h.link)
                fs::create_symlink(thing, path);
            try {
                w.write(folder);
                ADD_FAILURE() << "written";
            } catch (const EFileError& e) {
                EXPECT_EQ(std::string(e.what()), "ファイルを書き込めません: " + path);
            }
            struct stat st;
            ASSERT_EQ(lstat(thing.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & S_IFMT, h.type);
            EXPECT_EQ(fs::is_symlink(path), h.link);
            // Nothing left beside it, no temporary file included.
            EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
        }
    }
    setenv("XDG_CONFIG_HOME", keptConfig.c_str(), 1);
}

TEST(OwnFiles, APipeInTheirPlaceReadsAsNoFileAndLocksNothing)
{
    const Deadline deadline;
    const TempFolder dir;
    fs::create_directory(dir / "pelkorin");
    for (const char* name : {"Pelkorin.ini", "pelkorin.conf", "last-execution.lock", "last-execution.undo"})
        ASSERT_EQ(mkfifo((dir / "pelkorin/" + name).c_str(), 0600), 0);
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string keptConfig = oldConfig ? oldConfig : "";
    setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    EXPECT_EQ(ReadExtraOptions(), ExtraOptions{});
    setenv("XDG_CONFIG_HOME", keptConfig.c_str(), 1);
    EXPECT_THROW(ReadSettingsFile(dir / "pelkorin"), EFileError); // a box that says so, at once
    EXPECT_FALSE(platform::ReadFileIfPresent(dir / "pelkorin/last-execution.undo", 1 << 20));
    EXPECT_FALSE(platform::StateLock(dir / "pelkorin/last-execution.lock", false).held());
}

} // namespace
