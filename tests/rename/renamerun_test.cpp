// The execution on real folders: whatever the names and options, no file is ever lost,
// replaced or moved out of its folder, and each file ends under the name the rules give it.
#include "rename/renamerun.h"

#include "base/selection.h"

#include "platform/filesystem.h"
#include "rename/texthelpers.h"
#include "support/tempfolder.h"
#include "support/rowname.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <thread>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>; // name -> content

void Write(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().native());
    std::sort(names.begin(), names.end());
    return names;
}

Files FilesIn(const std::string& folder)
{
    Files files;
    for (const auto& e : fs::directory_iterator(folder))
        if (!e.is_directory())
            files[e.path().filename().native()] = ReadFileBytes(e.path().native());
    return files;
}

template <typename T>
const T& Pick(std::mt19937& rng, const std::vector<T>& from)
{
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng)];
}

bool Coin(std::mt19937& rng) { return std::bernoulli_distribution(0.5)(rng); }

// A small pool of parts, so that names often collide with each other and with new names.
std::string RandomName(std::mt19937& rng)
{
    static const std::vector<std::string> texts = {"", "a", "IMG_", "x y ", "p.q", "\x82\xa0", "-"};
    static const std::vector<std::string> exts = {"", ".jpg", ".JPG", ".jpeg", "."};
    std::string digits;
    for (int n = std::uniform_int_distribution<int>(0, 2)(rng); n > 0; --n)
        digits += static_cast<char>('0' + std::uniform_int_distribution<int>(0, 3)(rng));
    return Pick(rng, texts) + digits + Pick(rng, exts);
}

RenameOptions RandomOptions(std::mt19937& rng)
{
    static const std::vector<std::string> texts = {"", "a", "IMG_", "x y ", "a/b", "..", ".", "/", "b."};
    static const std::vector<std::string> exts = {"", "jpg", "JPG", "/x", "./x", "..", "txt"};
    RenameOptions o;
    o.ChangeText = Coin(rng);
    o.NewText = Pick(rng, texts);
    o.PadDigits = Coin(rng);
    o.DigitCount = std::uniform_int_distribution<int>(1, Coin(rng) ? 2 : 9)(rng);
    o.Sequential = Coin(rng);
    o.ExtLowerCase = Coin(rng);
    o.JpegToJpg = Coin(rng);
    o.ChangeExt = Coin(rng);
    o.NewExt = Pick(rng, exts);
    return o;
}

// One random round: a folder "d" of files with random names beside a subfolder "a" that a new
// name may hit or move into, the listing shuffled, a random selection, options and base number.
struct RandomRun {
    TempFolder parent;
    std::string folder = parent.path() + "/d";
    Files files;
    std::vector<std::string> names;
    std::vector<bool> selected;
    RenameOptions options;
    int32_t base = 0;

    explicit RandomRun(std::mt19937& rng)
    {
        fs::create_directory(folder);
        fs::create_directory(folder + "/a");
        for (int n = std::uniform_int_distribution<int>(1, 12)(rng); n > 0; --n) {
            const std::string name = RandomName(rng);
            if (!name.empty() && name != "." && name != "a" && !files.count(name)) {
                files[name] = "content " + std::to_string(files.size());
                Write(folder + "/" + name, files[name]);
            }
        }
        // RAW files and sidecars beside some of them.
        for (const auto& [name, content] : Files(files)) {
            const std::string other = name.substr(0, name.rfind('.')) + (Coin(rng) ? ".CR2" : ".xmp");
            if (Coin(rng) && other != "a" && other[0] != '.' && !files.count(other)) {
                files[other] = "content " + std::to_string(files.size());
                Write(folder + "/" + other, files[other]);
            }
        }
        for (const auto& [name, content] : files) {
            names.push_back(name);
            selected.push_back(std::bernoulli_distribution(0.7)(rng));
        }
        std::shuffle(names.begin(), names.end(), rng);
        options = RandomOptions(rng);
        base = std::uniform_int_distribution<int32_t>(-5, 40)(rng);
    }
};

struct Outcome {
    Files files;
    std::vector<std::string> reported; // new full paths
};

// The rules, walked over a set of names instead of a disk. "a" is a folder in every case.
Outcome Model(const std::string& prefix, Files files, const std::vector<std::string>& names,
              const std::vector<bool>& selected, const RenameOptions& o, int32_t number)
{
    Outcome out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!selected[i])
            continue;
        const std::string newName = ComposeNewName(names[i], o, number++);
        const bool unsafe = newName.empty() || newName[0] == '.' ||
                            newName.find('/') != std::string::npos;
        if (unsafe || newName == "a")
            continue;
        if (files.count(newName)) {
            if (newName != names[i])
                out.reported.push_back(prefix + newName);
            continue;
        }
        auto node = files.extract(names[i]);
        node.key() = newName;
        files.insert(std::move(node));
    }
    out.files = std::move(files);
    return out;
}

// Random names, selections and options in real folders, against the model.
void RunRandomRounds(platform::RenameWays ways = {})
{
    std::mt19937 rng(20240611);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const RandomRun run(rng);
        const std::string& folder = run.folder;
        const Files& files = run.files;
        const std::vector<std::string>& names = run.names;
        const std::vector<bool>& selected = run.selected;
        const RenameOptions& o = run.options;
        const int32_t base = run.base;
        const std::string prefix = FolderPrefix(folder);

        const Outcome expected = Model(prefix, files, names, selected, o, base);
        Outcome seen;
        int lastN = 0, lastT = 0;
        ExecuteHooks hooks;
        hooks.Progress = [&](int n, int t) { lastN = n;
            lastT = t; };
        hooks.ReportTaken = [&](const std::string& path) { seen.reported.push_back(path); };
        hooks.Ways = ways;
        ExecuteRenames(prefix, names, selected, o, base, hooks);

        EXPECT_EQ(FilesIn(folder), expected.files);
        EXPECT_EQ(seen.reported, expected.reported);
        EXPECT_EQ(Entries(run.parent.path()), std::vector<std::string>{"d"});
        EXPECT_TRUE(Entries(folder + "/a").empty());
        const int t = SummarizeSelection(selected).Count;
        EXPECT_EQ(lastN, t);
        EXPECT_EQ(lastT, t);
    }
}

TEST(RenameRun, NothingIsEverLostAndEachFileEndsAsTheRulesSay)
{
    RunRandomRounds();
}

// As on a file system that refuses RENAME_NOREPLACE: every rename takes link + unlink.
constexpr platform::RenameWays kLinkPath{.NoReplace = false};

TEST(RenameRun, NothingIsLostOnTheLinkPathEither)
{
    RunRandomRounds(kLinkPath);
}

// Another thread keeps creating files under the old and new names while the run goes on:
// whatever wins each race, no file is lost, replaced or moved out of the folder, and each
// file ends under its old name or the one the rules give it.
void RunRacingRounds(platform::RenameWays ways = {})
{
    std::mt19937 rng(777);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const RandomRun run(rng);
        const std::string& folder = run.folder;
        const Files& files = run.files;
        const std::vector<std::string>& names = run.names;
        const std::vector<bool>& selected = run.selected;
        const RenameOptions& o = run.options;
        const int32_t base = run.base;

        // Where each file may end: its old name, or the name it is given, alone or with its
        // photo.
        const FileGroups groups = GroupFiles(names, selected, Coin(rng));
        std::vector<std::string> rows;
        ComposeTrialRows(names, groups, o, base, {}, rows);
        std::map<std::string, std::set<std::string>> allowed; // content -> names
        std::vector<std::string> targets;
        for (std::size_t i = 0; i < names.size(); ++i) {
            allowed[files.at(names[i])].insert(names[i]);
            targets.push_back(names[i]);
            if (i >= rows.size() || rows[i].empty())
                continue;
            allowed[files.at(names[i])].insert(rows[i]);
            if (IsSafeNewName(rows[i]))
                targets.push_back(rows[i]);
        }

        if (targets.empty())
            continue; // no file came out of the pool this time
        std::atomic<bool> started{false}, stop{false};
        Files racer; // what the other thread made and has not removed
        std::thread other([&, seed = rng()] {
            std::mt19937 r(seed);
            int made = 0;
            while (!stop.load()) {
                const std::string& name = Pick(r, targets);
                const std::string path = folder + "/" + name;
                if (racer.count(name) && Coin(r)) {
                    unlink(path.c_str()); // its own file: nobody else may have replaced it
                    racer.erase(name);
                } else if (!racer.count(name)) {
                    const int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
                    if (fd >= 0) {
                        const std::string content = "racer " + std::to_string(made++);
                        EXPECT_EQ(write(fd, content.data(), content.size()),
                                  static_cast<ssize_t>(content.size()));
                        close(fd);
                        racer[name] = content;
                    }
                }
                started.store(true);
            }
        });
        while (!started.load())
            std::this_thread::yield();
        ExecuteHooks hooks;
        hooks.Ways = ways;
        ExecuteRenames(FolderPrefix(folder), names, groups, o, base, hooks);
        stop.store(true);
        other.join();

        Files seen = FilesIn(folder);
        for (const auto& [name, content] : racer) {
            ASSERT_TRUE(seen.count(name)) << "the other thread's file is gone: " << name;
            EXPECT_EQ(seen[name], content) << name;
            seen.erase(name);
        }
        std::map<std::string, int> copies;
        for (const auto& [name, content] : seen) {
            ++copies[content];
            ASSERT_TRUE(allowed.count(content)) << "unknown file " << name;
            EXPECT_TRUE(allowed[content].count(name)) << content << " ended as " << name;
        }
        for (const auto& [name, content] : files)
            EXPECT_EQ(copies[content], 1) << content;
        EXPECT_EQ(Entries(run.parent.path()), std::vector<std::string>{"d"});
        EXPECT_TRUE(Entries(folder + "/a").empty());
    }
}

TEST(RenameRun, NothingIsLostWhileAnotherThreadTakesNames)
{
    RunRacingRounds();
}

TEST(RenameRun, NothingIsLostOnTheLinkPathWhileAnotherThreadTakesNames)
{
    RunRacingRounds(kLinkPath);
}

using SafeNameCase = std::pair<std::string, bool>;

class SafeNewNameRows : public testing::TestWithParam<SafeNameCase> {};

TEST_P(SafeNewNameRows, UnsafeNames)
{
    const auto& [name, safe] = GetParam();
    EXPECT_EQ(IsSafeNewName(name), safe) << '"' << name << '"';
}

const SafeNameCase kSafeNameCases[] = {
    {"", false},    {".", false},   {"..", false},  {"a/b", false}, {"/", false},
    {"../x", false}, {"...", false}, {".a", false}, {".txt", false}, {"a.", true},
    {"a b", true},  {"\x82\xa0", true}, {"a..b", true},
};

INSTANTIATE_TEST_SUITE_P(RenameRun, SafeNewNameRows, testing::ValuesIn(kSafeNameCases),
                         RowNames([](const SafeNameCase& c) { return c.first; }));

// Emptying the text part of a name without a digit run leaves only the extension: renaming
// to that would hide the file, so it keeps its name while the others are renamed.
TEST(RenameRun, ANewNameThatWouldHideTheFileIsNotUsed)
{
    TempFolder dir;
    Write(dir.path() + "/abc.txt", "plain");
    Write(dir.path() + "/abc7.txt", "numbered");
    Write(dir.path() + "/.profile", "hidden");
    RenameOptions o;
    o.ChangeText = true;
    o.NewText = "";
    EXPECT_EQ(ComposeNewName("abc.txt", o, 0), ".txt");

    std::vector<std::string> reported;
    ExecuteHooks hooks;
    hooks.ReportTaken = [&](const std::string& path) { reported.push_back(path); };
    ExecuteRenames(FolderPrefix(dir.path()), {"abc.txt", "abc7.txt", ".profile"},
                   {true, true, true}, o, 0, hooks);

    EXPECT_EQ(FilesIn(dir.path()),
              (Files{{".profile", "hidden"}, {"7.txt", "numbered"}, {"abc.txt", "plain"}}));
    EXPECT_TRUE(reported.empty());
}

// A file that takes the new name after the existence test is never replaced.
TEST(RenameRun, RenameNeverReplacesWhatIsThere)
{
    TempFolder dir;
    const std::string from = dir.path() + "/from", file = dir.path() + "/file", folder = dir.path() + "/folder";
    Write(from, "mine");
    Write(file, "theirs");
    fs::create_directory(folder);

    EXPECT_EQ(platform::RenameNoReplace(from, file), platform::RenameResult::Taken);
    EXPECT_EQ(platform::RenameNoReplace(from, folder), platform::RenameResult::Taken);
    EXPECT_EQ(ReadFileBytes(from), "mine");
    EXPECT_EQ(ReadFileBytes(file), "theirs");
    EXPECT_TRUE(fs::is_empty(folder));

    EXPECT_EQ(platform::RenameNoReplace(from, dir.path() + "/new"), platform::RenameResult::Renamed);
    EXPECT_EQ(FilesIn(dir.path()), (Files{{"file", "theirs"}, {"new", "mine"}}));
}

} // namespace
