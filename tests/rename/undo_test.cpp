// The undo record on disk across executions, and the undo itself on real folders: whatever
// the execution did and whatever happened to the folder since, the undo loses, replaces and
// duplicates no file, moves only files the execution renamed back to their old names, and
// leaves every such file that did not come back in the record it keeps.
#include "rename/undo.h"

#include "rename/history.h"

#include "platform/filesystem.h"
#include "platform/statefile.h"
#include "support/permissionoverride.h"
#include "support/tempfolder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>; // content -> name; every content is unique

// No test of this program writes into the user's own state folder.
class StateHome : public testing::Environment {
public:
    void SetUp() override { qputenv("XDG_STATE_HOME", dir_.path().toUtf8()); }

private:
    QTemporaryDir dir_;
};
[[maybe_unused]] testing::Environment* const kStateHome = testing::AddGlobalTestEnvironment(new StateHome);

// Sets an environment variable for one scope (unset when value is none).
class EnvFor {
public:
    EnvFor(const char* name, std::optional<std::string> value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        Set(value);
    }
    ~EnvFor() { Set(old_); }

private:
    void Set(const std::optional<std::string>& v)
    {
        if (v)
            setenv(name_, v->c_str(), 1);
        else
            unsetenv(name_);
    }
    const char* name_;
    std::optional<std::string> old_;
};

TEST(UndoStateFolder, FollowsTheBaseDirectoryRules)
{
    struct Case {
        std::optional<std::string> state, home;
        std::string folder;
    } cases[] = {
        {"/s", "/h", "/s/pelkorin"},
        {"relative", "/h", "/h/.local/state/pelkorin"},
        {"", "/h/", "/h/.local/state/pelkorin"},
        {std::nullopt, "/h", "/h/.local/state/pelkorin"},
    };
    for (const Case& c : cases) {
        EnvFor state("XDG_STATE_HOME", c.state);
        EnvFor home("HOME", c.home);
        EXPECT_EQ(platform::ProgramStateFolder(), c.folder) << c.state.value_or("(unset)");
    }
}

const UndoRecord kFirst{"/w", {{"a", "b", 1, 2}}};
const UndoRecord kSecond{"/w", {{"b", "c", 1, 2}, {"x\ny", "z", 3, 4}}};

// One execution's part of the record: saved, then renamed files (or none).
void Execution(const UndoRecord& planned, int renamed)
{
    ExecutionRecord record;
    if (record.Save(planned) != RecordSave::Saved)
        record.GoOnUnrecorded();
    for (int i = 0; i < renamed; ++i)
        record.Renamed();
}

TEST(UndoExecutionRecord, TheLastExecutionThatRenamedAFileIsKept)
{
    ASSERT_TRUE(RemoveUndoRecord());
    EXPECT_FALSE(LoadUndoRecord());
    Execution(kFirst, 0);
    EXPECT_FALSE(LoadUndoRecord()) << "no file renamed, no record";
    Execution(kFirst, 1);
    EXPECT_EQ(LoadUndoRecord(), kFirst);
    Execution(kSecond, 0);
    EXPECT_EQ(LoadUndoRecord(), kFirst) << "an execution that changed nothing keeps the one before";
    Execution(kSecond, 2);
    EXPECT_EQ(LoadUndoRecord(), kSecond);
    // A damaged record is none.
    const std::string newest = HistoryRecordPath(ReadHistory().front());
    std::string bytes = ReadFileBytes(newest);
    bytes[bytes.size() / 2] ^= 1;
    platform::WriteFileDurably(newest, bytes);
    EXPECT_FALSE(LoadUndoRecord());
    ASSERT_TRUE(RemoveUndoRecord());
}

TEST(UndoExecutionRecord, ARecordThatCantBeWrittenLeavesNone)
{
    TempFolder dir;
    dir.Write("state"); // a file where the state folder should be
    EnvFor state("XDG_STATE_HOME", dir / "state/deeper");
    Execution(kFirst, 1);
    EXPECT_FALSE(LoadUndoRecord());
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"state"});
}

// --- The property: random executions, random changes from outside, undo. ---

Files Snapshot(const std::string& folder)
{
    Files files;
    for (const auto& e : fs::directory_iterator(folder))
        if (!e.is_directory()) {
            const std::string content = ReadFileBytes(e.path());
            EXPECT_FALSE(files.count(content)) << "duplicated: " << content;
            files[content] = e.path().filename().native();
        }
    return files;
}

template <typename T>
const T& Pick(std::mt19937& rng, const std::vector<T>& v)
{
    return v[std::uniform_int_distribution<std::size_t>(0, v.size() - 1)(rng)];
}

std::string RandomName(std::mt19937& rng)
{
    static const std::vector<std::string> texts = {"", "a", "b", "x\ny", "\x82\xa0"};
    static const std::vector<std::string> digits = {"", "0", "1", "2", "01", "02", "3"};
    static const std::vector<std::string> exts = {".jpg", ".JPG", ""};
    const std::string n = Pick(rng, texts) + Pick(rng, digits) + Pick(rng, exts);
    return n.empty() ? "e" : n;
}

RenameOptions RandomOptions(std::mt19937& rng)
{
    std::bernoulli_distribution coin(0.5);
    RenameOptions o;
    o.ChangeText = coin(rng);
    o.NewText = Pick(rng, std::vector<std::string>{"", "a", "b", "x\ny"});
    o.PadDigits = coin(rng);
    o.DigitCount = std::uniform_int_distribution<int>(1, 2)(rng);
    o.Sequential = coin(rng);
    o.ChangeExt = coin(rng);
    o.NewExt = "jpg";
    return o;
}

bool Coin(std::mt19937& rng)
{
    return std::bernoulli_distribution(0.5)(rng);
}

struct Crash {};

// Empties the folder at the end of a round: QTemporaryDir can't remove names that are not UTF-8.
struct Emptied {
    const TempFolder& dir;
    ~Emptied()
    {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(dir.path(), ec))
            fs::remove_all(e.path(), ec);
    }
};

TEST(UndoProperty, UndoLosesNothingAndMovesOnlyRenamedFilesBack)
{
    std::mt19937 rng(19);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        TempFolder dir;
        const Emptied emptied{dir};
        int made = 0;
        for (int i = std::uniform_int_distribution<int>(1, 8)(rng); i > 0; --i)
            if (const std::string name = RandomName(rng); !dir.Exists(name))
                dir.Write(name, "file " + std::to_string(made++));
        // RAW files and sidecars beside some of them.
        for (const std::string& name : dir.Files())
            for (const char* ext : {".CR2", ".CR2.xmp", ".xmp", ".XMP"})
                if (const std::string other = name.substr(0, name.rfind('.')) + ext; Coin(rng) && !dir.Exists(other))
                    dir.Write(other, "file " + std::to_string(made++));
        std::vector<std::string> names;
        for (const auto& [content, name] : Snapshot(dir.path()))
            names.push_back(name);
        std::shuffle(names.begin(), names.end(), rng);
        std::vector<bool> selected(names.size());
        for (std::size_t i = 0; i < names.size(); ++i)
            selected[i] = std::bernoulli_distribution(0.8)(rng);

        const Files before = Snapshot(dir.path());
        UndoRecord record;
        ExecuteHooks hooks;
        hooks.BeforeRenames = [&](const UndoRecord& r) {
            record = r;
            return true;
        };
        // Sometimes the program dies part way, between groups or inside one: the files of
        // its group before that point renamed, the others not.
        const int crashAt = std::uniform_int_distribution<int>(1, 12)(rng);
        hooks.Progress = [&](int n, int) {
            if (n == crashAt)
                throw Crash{};
        };
        const FileGroups groups = GroupFiles(names, selected, Coin(rng));
        const RenameOptions options = RandomOptions(rng);
        const int32_t base = std::uniform_int_distribution<int>(0, 3)(rng);
        try {
            ExecuteRenames(dir.path() + "/", names, groups, options, base, hooks);
        } catch (const Crash&) {
            const GroupNames planned = ComposeGroupNames(names, groups, options, base, {});
            const std::size_t g = static_cast<std::size_t>(crashAt - 1);
            std::size_t renamedInGroup = std::uniform_int_distribution<std::size_t>(0, 3)(rng);
            bool safe = true;
            for (std::size_t j = groups.Starts[g]; j < groups.Starts[g + 1]; ++j)
                safe = safe && (planned.Names[j] == names[groups.Rows[j]] || IsSafeNewName(planned.Names[j]));
            for (std::size_t j = groups.Starts[g]; safe && j < groups.Starts[g + 1] && renamedInGroup > 0; ++j) {
                const std::string& old = names[groups.Rows[j]];
                if (planned.Names[j] == old)
                    continue;
                if (platform::RenameNoReplace(dir / old, dir / planned.Names[j]) != platform::RenameResult::Renamed)
                    break;
                --renamedInGroup;
            }
        }
        if (record.Entries.empty())
            continue;
        EXPECT_EQ(record.Folder, dir.path());

        // Sometimes the crash comes inside a rename that goes through a temporary name or a
        // claim (a card, a case-folding folder): a file that had not moved yet is left under
        // its entry's temporary name, an empty claim under another's new name. The undo that
        // knows of the cut run leaves the folder as it was before the execution.
        if (Coin(rng)) {
            std::vector<std::size_t> unmoved;
            for (std::size_t i = 0; i < record.Entries.size(); ++i) {
                const auto now = Snapshot(dir.path());
                const auto was = std::find_if(before.begin(), before.end(),
                                              [&](const auto& f) { return f.second == record.Entries[i].OldName; });
                if (was != before.end() && now.count(was->first) && now.at(was->first) == was->second)
                    unmoved.push_back(i);
            }
            if (!unmoved.empty()) {
                const std::size_t hidden = Pick(rng, unmoved), claimed = Pick(rng, unmoved);
                const UndoEntry& h = record.Entries[hidden];
                fs::rename(dir / h.OldName, dir / (RunTemporaryStem(record.Token, hidden) + "-0.tmp"));
                if (const UndoEntry& c = record.Entries[claimed]; claimed != hidden && !dir.Exists(c.NewName))
                    dir.Write(c.NewName);
                UndoHooks repairing;
                repairing.Repair = true;
                const UndoOutcome outcome = UndoRenames(record, repairing);
                EXPECT_TRUE(outcome.Left.empty());
                EXPECT_EQ(Snapshot(dir.path()), before);
                continue;
            }
        }

        // Outside changes. Strangers made aside are put in place by renames; a stranger made
        // under a name right after its file was deleted takes that file's inode number (ext4
        // hands it out again at once).
        const bool changes = std::bernoulli_distribution(0.6)(rng);
        std::vector<std::string> strangers;
        for (int i = changes ? std::uniform_int_distribution<int>(0, 3)(rng) : 0; i > 0; --i) {
            strangers.push_back(".stranger" + std::to_string(i));
            dir.Write(strangers.back(), "stranger " + std::to_string(i));
        }
        for (int i = changes ? std::uniform_int_distribution<int>(1, 4)(rng) : 0; i > 0; --i) {
            const Files now = Snapshot(dir.path());
            auto victim = std::next(now.begin(), std::uniform_int_distribution<long>(0, static_cast<long>(now.size()) - 1)(rng));
            const std::string target = Coin(rng) ? Pick(rng, record.Entries).OldName : Pick(rng, record.Entries).NewName;
            switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
            case 0: // renamed by someone else
                if (!dir.Exists(target) && victim->second[0] != '.')
                    fs::rename(dir / victim->second, dir / target);
                break;
            case 1: // deleted
                if (victim->second[0] != '.')
                    fs::remove(dir / victim->second);
                break;
            case 2: // a stranger under a name of the record, replacing what was there
                if (!strangers.empty()) {
                    fs::rename(dir / strangers.back(), dir / target);
                    strangers.pop_back();
                }
                break;
            default: // a renamed file deleted, a new one made under its name at once
                if (const std::string& name = Pick(rng, record.Entries).NewName; dir.Exists(name)) {
                    fs::remove(dir / name);
                    dir.Write(name, "reborn " + std::to_string(i));
                }
            }
        }
        const Files changed = Snapshot(dir.path());
        // Contents are never rewritten, so a content tells its file: the very file of an
        // entry is the one that had the entry's old name before the execution.
        auto veryFileUnderNewName = [&](const UndoEntry& e, const Files& files) {
            const auto was = std::find_if(before.begin(), before.end(), [&](const auto& f) { return f.second == e.OldName; });
            const auto now = files.find(was == before.end() ? std::string() : was->first);
            return was != before.end() && now != files.end() && now->second == e.NewName;
        };

        // Sometimes the folder can't be written: nothing comes back, everything stays to do.
        const bool readOnly = std::bernoulli_distribution(0.2)(rng);
        std::vector<std::string> reported;
        UndoHooks undoHooks;
        undoHooks.ReportTaken = [&](const std::string& path) { reported.push_back(path); };
        UndoOutcome outcome;
        if (readOnly) {
            ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
            const WithoutPermissionOverride asAUser;
            outcome = UndoRenames(record, undoHooks);
        } else {
            outcome = UndoRenames(record, undoHooks);
        }
        chmod(dir.path().c_str(), 0755);
        Files after = Snapshot(dir.path());
        if (readOnly) {
            EXPECT_EQ(after, changed);
            EXPECT_EQ(outcome.Restored, 0);
        }
        // Every very file either came back or is in what the record keeps, in its order.
        std::vector<UndoEntry> stillToDo;
        for (const UndoEntry& e : record.Entries)
            if (veryFileUnderNewName(e, changed) && veryFileUnderNewName(e, after))
                stillToDo.push_back(e);
        EXPECT_EQ(outcome.Left, stillToDo);
        if (readOnly) {
            // The kept record finishes the work once the folder can be written again.
            UndoRecord kept = record;
            kept.Entries = outcome.Left;
            reported.clear();
            const UndoOutcome second = UndoRenames(kept, undoHooks);
            EXPECT_EQ(second.Restored + static_cast<int>(second.Left.size()), static_cast<int>(outcome.Left.size()));
            after = Snapshot(dir.path());
            for (const UndoEntry& e : second.Left)
                EXPECT_TRUE(fs::exists(fs::symlink_status(dir / e.OldName))) << "not taken: " << e.OldName;
        }

        // Nothing lost, replaced or duplicated: the same contents, one name each.
        ASSERT_EQ(after.size(), changed.size());
        for (const auto& [content, name] : after)
            ASSERT_TRUE(changed.count(content)) << content;
        // Every moved file was renamed by the execution and is back under its old name.
        for (const auto& [content, name] : after) {
            if (name == changed.at(content))
                continue;
            const bool planned = std::any_of(record.Entries.begin(), record.Entries.end(), [&](const UndoEntry& e) {
                return e.OldName == name && e.NewName == changed.at(content);
            });
            EXPECT_TRUE(planned) << content << " moved from " << changed.at(content) << " to " << name;
            ASSERT_TRUE(before.count(content));
            EXPECT_EQ(before.at(content), name) << content;
        }
        // Left alone, the folder is as it was before the execution.
        if (!changes) {
            EXPECT_EQ(after, before);
            EXPECT_TRUE(reported.empty());
        }
        for (const std::string& path : reported)
            EXPECT_TRUE(fs::exists(fs::symlink_status(path))) << path;
    }
}

} // namespace
