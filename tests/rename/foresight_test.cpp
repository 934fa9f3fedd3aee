// The foresight against the real execution: random folders go through the foresight and then
// through ExecuteRenames on disk, and the rows marked are exactly the rows the execution
// reports (Taken) or leaves under their names without a word (Refused).
#include "rename/foresight.h"

#include "platform/filesystem.h"
#include "platform/foldersnapshot.h"
#include "rename/renamerun.h"
#include "rename/texthelpers.h"
#include "support/cardimage.h"
#include "support/permissionoverride.h"
#include "support/tempfolder.h"

#include "base/utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <memory>
#include <optional>
#include <set>
#include <fcntl.h>
#include <linux/capability.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Kind = platform::EntryKind;

template <typename T>
const T& Pick(std::mt19937& rng, const std::vector<T>& from)
{
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng)];
}

bool Chance(std::mt19937& rng, double p) { return std::bernoulli_distribution(p)(rng); }

std::string Times(int n, const std::string& text)
{
    std::string out;
    while (n-- > 0)
        out += text;
    return out;
}

// Names from a small pool, so that current names, new names and obstacles often meet (on a
// card also in another letter case, of Latin and full-width letters alike). The long text
// parts bring names close to the limit without passing it: 255 bytes, or on a card 255
// UTF-16 units (82 Japanese characters are 246 bytes and 82 units).
std::string PoolName(std::mt19937& rng)
{
    static const std::vector<std::string> texts = {"", "a", "A", "b", "IMG_", "img_", std::string(248, 'n'),
                                                   "\xc3\xa4", "\xef\xbc\xab", Times(82, "\xe3\x81\x82")};
    static const std::vector<std::string> exts = {"", ".jpg", ".JPG", ".txt"};
    std::string digits;
    for (int n = std::uniform_int_distribution<int>(0, 2)(rng); n > 0; --n)
        digits += static_cast<char>('0' + std::uniform_int_distribution<int>(0, 4)(rng));
    return Pick(rng, texts) + digits + Pick(rng, exts);
}

// The name with some of its letters in the other case (Ä for ä, Ｋ for ｋ too).
std::string OtherCase(std::mt19937& rng, const std::string& name)
{
    QString text = QString::fromStdString(name);
    for (QChar& c : text)
        if (c.isLetter() && Chance(rng, 0.6))
            c = c.isUpper() ? c.toLower() : c.toUpper();
    return text.toStdString();
}

RenameOptions RandomOptions(std::mt19937& rng, bool card)
{
    // The long texts make new names of 253 to 257 bytes, or 84 Japanese characters (252 bytes,
    // 84 UTF-16 units) and more, or 125 characters outside the BMP (500 bytes, 250 units) and
    // more: some fit, some are too long, in bytes or, on a card, in UTF-16 units. On a card,
    // characters FAT forbids come in too, and letters it folds beyond ASCII.
    static const std::vector<std::string> texts = {"", "a", "b", "IMG_", "a/b", ".", std::string(250, 'n'),
                                                   Times(84, "\xe3\x81\x82"), Times(125, "\xf0\x9d\x84\x9e")};
    static const std::vector<std::string> cardTexts = {"A", "img_", "a:b", "x?", "q\\", "\xc3\x84", "\xef\xbd\x8b"};
    static const std::vector<std::string> exts = {"", "jpg", "JPG", "txt", "/x"};
    RenameOptions o;
    o.ChangeText = Chance(rng, 0.5);
    o.NewText = card && Chance(rng, 0.4) ? Pick(rng, cardTexts) : Pick(rng, texts);
    o.PadDigits = Chance(rng, 0.5);
    o.DigitCount = std::uniform_int_distribution<int>(1, 3)(rng);
    o.Sequential = Chance(rng, 0.5);
    o.ExtLowerCase = Chance(rng, 0.5);
    o.JpegToJpg = Chance(rng, 0.5);
    o.ChangeExt = Chance(rng, 0.3);
    o.NewExt = card && Chance(rng, 0.2) ? "J*G" : Pick(rng, exts);
    return o;
}

// A RAW file or sidecar of name: its base name or its whole name with a companion extension
// in some letter case, or the sidecar of its RAW file's whole name.
std::string CompanionName(std::mt19937& rng, const std::string& name)
{
    static const std::vector<std::string> exts = {".CR2", ".cr2", ".nef", ".xmp", ".XMP", ".thm"};
    const std::size_t dot = name.rfind('.');
    if (Chance(rng, 0.25) || dot == std::string::npos)
        return name + (Chance(rng, 0.5) ? ".xmp" : ".XMP");
    if (Chance(rng, 0.25))
        return name.substr(0, dot) + ".CR2" + (Chance(rng, 0.5) ? ".xmp" : ".XMP");
    return name.substr(0, dot) + Pick(rng, exts);
}

// One folder "d" beside "outside" (a file and a folder that links inside may point to). On a
// card (root given) only files and folders: FAT has no links or pipes.
struct Round {
    const bool card;
    const bool companions;
    TempFolder parent;
    std::string folder = parent.path() + "/d";
    std::vector<std::string> names;
    std::vector<bool> selected;
    RenameOptions options;
    int32_t base = 0;

    void Put(const std::string& name, int what) const
    {
        const std::string path = folder + "/" + name;
        if (!IsSafeNewName(name) || (card ? Utf16Length(name) : name.size()) > 255 || fs::exists(fs::symlink_status(path)) ||
            (card && (what > 1 || platform::FatRefusesName(name))))
            return;
        switch (what) {
        case 0: std::ofstream(path) << name; break;
        case 1: fs::create_directory(path); break;
        case 2: fs::create_symlink("nowhere", path); break;
        case 3: fs::create_symlink("../outside/dir", path); break;
        case 4: fs::create_symlink("../outside/file", path); break;
        default: mkfifo(path.c_str(), 0644); break;
        }
    }

    explicit Round(std::mt19937& rng, const std::string* cardRoot = nullptr)
        : card(cardRoot != nullptr), companions(Chance(rng, 0.5)),
          parent(cardRoot ? TempFolder(*cardRoot) : TempFolder())
    {
        fs::create_directories(parent.path() + "/outside/dir");
        std::ofstream(parent.path() + "/outside/file") << "outside";
        fs::create_directory(folder);
        if (Chance(rng, 0.3)) {
            // A run of numbered files renumbered up or down by one or two: chains that work
            // in one direction and stop at the first taken name in the other.
            const int first = std::uniform_int_distribution<int>(0, 3)(rng);
            const int count = std::uniform_int_distribution<int>(2, 6)(rng);
            for (int k = first; k < first + count; ++k)
                Put((k < 10 ? "0" : "") + std::to_string(k) + ".jpg", 0);
            options.PadDigits = true;
            options.DigitCount = 2;
            options.Sequential = true;
            base = first + std::uniform_int_distribution<int>(-2, 2)(rng);
        } else {
            options = RandomOptions(rng, card);
            base = std::uniform_int_distribution<int32_t>(-2, 6)(rng);
            for (int n = std::uniform_int_distribution<int>(1, 10)(rng); n > 0; --n)
                Put(PoolName(rng), 0);
        }
        // RAW files and sidecars beside some of them, whether they go along or not.
        for (const std::string& name : platform::ListFiles(folder))
            for (int n = Chance(rng, 0.5) ? std::uniform_int_distribution<int>(1, 3)(rng) : 0; n > 0; --n)
                Put(CompanionName(rng, name), 0);
        // Obstacles named like the new names: folders, links of every sort, a pipe, hidden files.
        std::vector<std::string> likely;
        const std::vector<std::string> files = platform::ListFiles(folder);
        ComposeTrialRows(files, GroupFiles(files, std::vector<bool>(files.size(), true), companions), options,
                         base, {}, likely);
        std::erase(likely, std::string());
        for (int n = std::uniform_int_distribution<int>(0, 4)(rng); n > 0; --n)
            Put(Chance(rng, 0.7) && !likely.empty() ? Pick(rng, likely) : PoolName(rng),
                std::uniform_int_distribution<int>(1, 5)(rng));
        // On a card, files and folders under a new name in another letter case.
        for (int n = card ? std::uniform_int_distribution<int>(0, 3)(rng) : 0; n > 0 && !likely.empty(); --n)
            Put(OtherCase(rng, Pick(rng, likely)), Chance(rng, 0.8) ? 0 : 1);
        if (Chance(rng, 0.3))
            Put("." + PoolName(rng), 0);
        names = platform::ListFiles(folder); // the rows as the listing gives them
        if (Chance(rng, 0.5))
            std::sort(names.begin(), names.end());
        else
            std::shuffle(names.begin(), names.end(), rng);
        for (std::size_t i = 0; i < names.size(); ++i)
            selected.push_back(Chance(rng, 0.8));
        // Names from capture times: photos of one second share their text, and a photo
        // without a time keeps its name.
        if (Chance(rng, 0.3)) {
            static const std::vector<std::optional<std::string>> times = {
                "20240512_143015", "20240512_143015", "20240512_143016", std::nullopt};
            auto parts = std::make_shared<std::vector<std::optional<std::string>>>();
            for (std::size_t i = 0; i < names.size(); ++i)
                parts->push_back(Pick(rng, times));
            options.TextParts = std::move(parts);
        }
    }
};

// What tells an entry apart: a file by its content (the name it was made under), since a card's
// driver numbers a file anew whenever the kernel forgets it (another test may drop the caches);
// anything else by its inode. Empty when nothing is there.
std::string IdentityOf(const std::string& path)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return {};
    if (!S_ISREG(st.st_mode))
        return S_ISDIR(st.st_mode) ? "folder " + fs::path(path).filename().native() : "inode " + std::to_string(st.st_ino);
    std::ifstream in(path, std::ios::binary);
    return "file " + std::string(std::istreambuf_iterator<char>(in), {});
}

// The names as the folder lists them: on a folder that folds case, lstat finds a file under
// any case, the listing only under the name it has.
std::set<std::string> Listed(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.insert(e.path().filename().native());
    return names;
}

// Every entry of the folder: what must neither be lost nor replaced.
std::multiset<std::string> Entries(const std::string& folder)
{
    std::multiset<std::string> entries;
    for (const auto& e : fs::directory_iterator(folder))
        entries.insert(IdentityOf(e.path()));
    return entries;
}

// Runs the round through the foresight and then the execution. Each group ends all under its
// new names, foreseen Fine, or all under its old ones: then exactly one file was foreseen
// Taken (the one the execution reported) or Refused (none reported) and the others
// CompanionBlocked.
void CheckRound(const Round& r, platform::RenameWays ways = {})
{
    const FileGroups groups = GroupFiles(r.names, r.selected, r.companions);
    std::vector<std::string> rows;
    ComposeTrialRows(r.names, groups, r.options, r.base, {}, rows);
    const std::vector<Foresight> foreseen = ForeseeRenamesIn(FolderPrefix(r.folder), r.names, groups, rows);

    std::vector<std::string> before;
    for (const std::string& name : r.names)
        before.push_back(IdentityOf(r.folder + "/" + name));
    const std::multiset<std::string> entries = Entries(r.folder);
    std::vector<std::vector<std::string>> reported(groups.size());
    std::size_t current = 0;
    ExecuteHooks hooks;
    hooks.Progress = [&](int n, int) { current = static_cast<std::size_t>(n - 1); };
    hooks.ReportTaken = [&](const std::string& path) { reported[current].push_back(path); };
    hooks.Ways = ways;
    ExecuteRenames(FolderPrefix(r.folder), r.names, groups, r.options, r.base, hooks);
    const std::set<std::string> after = Listed(r.folder);
    for (const std::string& name : after)
        EXPECT_FALSE(name.starts_with(".pelkorin-")) << "a temporary name stayed: " << name;
    EXPECT_EQ(Entries(r.folder), entries) << "a file was lost or replaced";

    std::vector<Foresight> expected(rows.size(), Foresight::Fine);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        std::size_t moved = 0, stayed = 0;
        std::vector<std::size_t> members;
        for (std::size_t j = groups.Starts[g]; j < groups.Starts[g + 1]; ++j) {
            const std::size_t i = groups.Rows[j];
            members.push_back(i);
            if (rows[i] == r.names[i])
                continue;
            const bool left = after.count(r.names[i]) != 0 && IdentityOf(r.folder + "/" + r.names[i]) == before[i];
            (left ? stayed : moved) += 1;
        }
        ASSERT_TRUE(moved == 0 || stayed == 0) << "group " << g << " split";
        ASSERT_LE(reported[g].size(), 1u);
        if (stayed == 0)
            continue;
        // The failing file is the one the foresight names; the execution must agree.
        const auto failing = std::find_if(members.begin(), members.end(), [&](std::size_t i) {
            return foreseen[i] == Foresight::Taken || foreseen[i] == Foresight::Refused;
        });
        for (const std::size_t i : members)
            expected[i] = Foresight::CompanionBlocked;
        if (failing == members.end()) {
            ADD_FAILURE() << "group " << g << " stayed, but the foresight names no failing file";
            continue;
        }
        expected[*failing] = reported[g].empty() ? Foresight::Refused : Foresight::Taken;
        if (!reported[g].empty()) {
            EXPECT_EQ(reported[g][0], FolderPrefix(r.folder) + rows[*failing]);
        }
    }
    EXPECT_EQ(foreseen, expected);
    if (foreseen != expected)
        for (std::size_t i = 0; i < rows.size(); ++i)
            ADD_FAILURE() << i << (r.selected[i] ? " * " : "   ") << r.names[i] << " -> " << rows[i];
}

// For its lifetime the calling thread lacks CAP_FOWNER, as a user does: a sticky folder then
// keeps others' entries where they are.
class WithoutOwnerOverride {
public:
    WithoutOwnerOverride()
    {
        if (syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &= ~(1u << CAP_FOWNER);
        changed_ = syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~WithoutOwnerOverride()
    {
        if (changed_)
            syscall(SYS_capset, &header_, saved_);
    }

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2] = {};
    bool changed_ = false;
};

// Sets or clears FS_APPEND_FL or FS_IMMUTABLE_FL on a folder or a regular file, as chattr
// does; false where the disk can't.
bool SetFlag(const std::string& path, int flag, bool on)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    int flags = 0;
    bool done = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | flag : flags & ~flag;
    done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        close(fd);
    return done;
}

// Rounds in a folder this process may not change in some way: without write rights, sticky
// with about half its entries someone else's, append-only, immutable; or with some of its
// files append-only or immutable (chattr +a, +i), which keep their names, and with them
// their companions.
void CheckGuardedRound(std::mt19937& rng, const Round& r)
{
    const int guard = std::uniform_int_distribution<int>(0, 5)(rng);
    if (guard == 0) {
        WithoutPermissionOverride asUser;
        fs::permissions(r.folder, fs::perms::owner_write, fs::perm_options::remove);
        CheckRound(r);
        fs::permissions(r.folder, fs::perms::owner_write, fs::perm_options::add);
    } else if (guard == 1) {
        constexpr uid_t kSomeoneElse = 4321;
        ASSERT_EQ(lchown(r.folder.c_str(), kSomeoneElse, kSomeoneElse), 0);
        ASSERT_EQ(chmod(r.folder.c_str(), 01777), 0);
        for (const auto& e : fs::directory_iterator(r.folder)) {
            if (Chance(rng, 0.5)) {
                ASSERT_EQ(lchown(e.path().c_str(), kSomeoneElse, kSomeoneElse), 0);
            }
        }
        WithoutOwnerOverride asUser;
        CheckRound(r);
    } else if (guard <= 3) {
        const int flag = guard == 2 ? FS_APPEND_FL : FS_IMMUTABLE_FL;
        if (!SetFlag(r.folder, flag, true))
            GTEST_SKIP() << "the temporary folder's disk takes no append-only or immutable flag";
        CheckRound(r);
        SetFlag(r.folder, flag, false);
    } else {
        const int flag = guard == 4 ? FS_APPEND_FL : FS_IMMUTABLE_FL;
        std::vector<std::string> pinned;
        for (const auto& e : fs::directory_iterator(r.folder))
            if (fs::is_regular_file(fs::symlink_status(e.path())) && Chance(rng, 0.3))
                pinned.push_back(e.path());
        bool set = true;
        for (const std::string& path : pinned)
            set = SetFlag(path, flag, true) && set;
        if (set)
            CheckRound(r);
        // Pinned files kept their names: the folder can be removed once they are freed.
        for (const std::string& path : pinned)
            SetFlag(path, flag, false);
        if (!set)
            GTEST_SKIP() << "the temporary folder's disk takes no append-only or immutable flag";
    }
}

void RunRounds(unsigned seed, int rounds, bool guardedAtTimes, platform::RenameWays ways = {})
{
    std::mt19937 rng(seed);
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const Round r(rng);
        if (guardedAtTimes && Chance(rng, 0.4))
            CheckGuardedRound(rng, r);
        else
            CheckRound(r, ways);
    }
}

TEST(Foresight, MarksExactlyTheRowsTheExecutionLeavesUnderTheirNames)
{
    RunRounds(18, 200, true);
}

TEST(Foresight, AgreesOnTheLinkPathToo)
{
    RunRounds(1818, 100, false, {.NoReplace = false});
}

// A camera card folds letter case, refuses FAT's characters and has neither RENAME_NOREPLACE
// nor links: case-only renames of the file itself are fine, names that fold onto another file
// are taken, forbidden characters refused.
TEST(Foresight, AgreesOnAnExFatCard)
{
    const CardImage card(CardKind::ExFat);
    SKIP_WITHOUT_CARD(card);
    std::mt19937 rng(2222);
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("card round " + std::to_string(round));
        CheckRound(Round(rng, &card.path()));
    }
}

// What the rounds above rarely meet: a new name that differs from the file's own in the case
// of a letter beyond ASCII finds the file itself on a card, and the limit there is in UTF-16
// units. (The execution does not yet rename the file itself there: it reports Ä1.jpg taken.)
TEST(Foresight, OnAnExFatCardEveryLetterFoldsAndNamesCountUtf16)
{
    const CardImage card(CardKind::ExFat);
    SKIP_WITHOUT_CARD(card);
    const TempFolder t(card.path());
    const std::string ae = "\xc3\xa4", AE = "\xc3\x84", k = "\xef\xbd\x8b", K = "\xef\xbc\xab";
    const std::string a90 = Times(86, "\xe3\x81\x82") + ".jpg", clef = "\xf0\x9d\x84\x9e";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {ae + "1.jpg", AE + "1.jpg"},                // the file itself
        {"b1.jpg", ae + "2.jpg"},                    // Ä2.jpg is there: taken
        {"b2.jpg", K + ".jpg"},                      // ｋ.jpg is there: taken
        {"b3.jpg", a90},                             // 90 units, 262 bytes: fits
        {"b4.jpg", Times(125, clef) + "12345.jpg"},  // 259 units: too long
        {"b5.jpg", Times(125, clef) + "1.jpg"},      // 255 units: fits
    };
    std::vector<std::string> names, rows;
    for (const auto& [from, to] : cases) {
        std::ofstream(t / from) << from;
        names.push_back(from);
        rows.push_back(to);
    }
    std::ofstream(t / (AE + "2.jpg")) << "other";
    std::ofstream(t / (k + ".jpg")) << "other";
    names.push_back(AE + "2.jpg");
    rows.push_back(AE + "2.jpg");
    const std::vector<Foresight> expected = {Foresight::Fine,    Foresight::Taken, Foresight::Taken, Foresight::Fine,
                                             Foresight::Refused, Foresight::Fine,  Foresight::Fine};
    EXPECT_EQ(ForeseeRenamesIn(FolderPrefix(t.path()), names, std::vector<bool>(names.size(), true), rows), expected);
}

TEST(Foresight, NothingIsMarkedWhenTheFolderCannotBeRead)
{
    TempFolder t;
    const std::vector<Foresight> v =
        ForeseeRenamesIn(t / "gone/", {"a", "b"}, {true, true}, {"b", ".x"});
    EXPECT_EQ(v, std::vector<Foresight>(2, Foresight::Fine));
}

TEST(FolderSnapshot, KindsAsTheFileExistsTestSeesThem)
{
    TempFolder t;
    t.Write("file");
    t.Write(".hidden");
    t.MakeFolder("dir");
    fs::create_symlink("nowhere", t / "dangling");
    fs::create_symlink("dir", t / "todir");
    fs::create_symlink("file", t / "tofile");
    fs::create_symlink("loop", t / "loop");
    mkfifo((t / "pipe").c_str(), 0644);
    std::map<std::string, Kind> seen;
    const platform::FolderSnapshot s = platform::ReadFolderSnapshot(t.path());
    for (const platform::FolderEntry& e : s.Entries)
        seen[e.Name] = e.Kind;
    const std::map<std::string, Kind> expected = {
        {".hidden", Kind::File}, {"dangling", Kind::Unreachable}, {"dir", Kind::Folder},
        {"file", Kind::File},    {"loop", Kind::Unreachable},     {"pipe", Kind::File},
        {"todir", Kind::Folder}, {"tofile", Kind::File},
    };
    EXPECT_EQ(seen, expected);
    EXPECT_GE(s.NameMax, 255u);
    EXPECT_TRUE(s.Writable);
}

} // namespace
