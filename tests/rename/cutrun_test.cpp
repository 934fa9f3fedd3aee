// The history: executions, undos and redos in two folders, stopped ("中止") or killed at random:
// nothing lost, replaced or duplicated, and taking back everything brings back the first names.
// Executions on a real camera card killed at every step that changes the card, then taken back
// by another process after the card was put back (mounted again) or the kernel forgot its
// entries: both hand out new inode numbers. Every photo must come back under its own name,
// with no file left under a hidden temporary name and no empty claim, and the undo must leave
// nothing to do only when that is so.
#include "platform/filesystem.h"
#include "base/runstopped.h"
#include "rename/companions.h"
#include "rename/history.h"
#include "rename/historyrun.h"
#include "rename/renamerun.h"
#include "rename/undo.h"
#include "support/cardimage.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>; // name -> content

Files CardFiles(const std::string& folder)
{
    Files files;
    for (const auto& e : fs::directory_iterator(folder)) {
        std::ifstream in(e.path(), std::ios::binary);
        files[e.path().filename().native()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

void Lay(const std::string& folder, const Files& files)
{
    for (const auto& e : fs::directory_iterator(folder))
        fs::remove(e.path());
    for (const auto& [name, content] : files)
        std::ofstream(folder + "/" + name, std::ios::binary) << content;
}

int stepsLeft = 0;
void KillAtStep()
{
    if (--stepsLeft == 0)
        raise(SIGKILL);
}

// Runs the execution in a child killed before its step-th change of the card; true when the
// child was killed (false: the run ended before that step).
bool ExecuteKilledAt(const std::string& folder, const std::vector<std::string>& names, const RenameOptions& options,
                     int step)
{
    const pid_t child = fork();
    if (child == 0) {
        stepsLeft = step;
        platform::SetRenameStepHook(KillAtStep);
        ExecutionRecord record;
        ExecuteHooks hooks;
        hooks.BeforeRenames = [&](const UndoRecord& planned) { return record.Save(planned) == RecordSave::Saved; };
        hooks.Renamed = [&] { record.Renamed(); };
        ExecuteRenames(folder + "/", names, GroupFiles(names, std::vector<bool>(names.size(), true), true),
                       options, 1, hooks);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status);
}

struct CutCase {
    const char* label;
    Files start;
    RenameOptions options;
};

void PrintTo(const CutCase& c, std::ostream* os) { *os << c.label; }

RenameOptions LowerCaseExtensions()
{
    RenameOptions o;
    o.ExtLowerCase = true;
    return o;
}

RenameOptions NewText(const char* text)
{
    RenameOptions o;
    o.ChangeText = true;
    o.NewText = text;
    return o;
}

const CutCase kCutCases[] = {
    // Each file goes through a temporary name of its own: the card finds "a.jpg" as "A.JPG".
    {"lower-casing extensions", {{"IMG_1.JPG", "one"}, {"IMG_2.JPG", "two"}, {"IMG_3.JPG", "three"}},
     LowerCaseExtensions()},
    // Each new name is claimed first (the card has neither RENAME_NOREPLACE nor links); a RAW
    // companion moves with its photo.
    {"new names onto claims", {{"IMG_1.JPG", "one"}, {"IMG_1.CR2", "raw one"}, {"IMG_2.JPG", "two"}},
     NewText("trip_")},
};

class CutRuns : public testing::TestWithParam<std::tuple<CutCase, bool>> {};

TEST_P(CutRuns, EveryPhotoComesBackAfterAKillAtAnyStep)
{
    const auto& [c, remount] = GetParam();
    CardImage card(CardKind::ExFat);
    SKIP_WITHOUT_CARD(card);
    if (!remount && access("/proc/sys/vm/drop_caches", W_OK) != 0)
        GTEST_SKIP() << "can't make the kernel forget the card's entries (/proc/sys/vm/drop_caches)";
    std::vector<std::string> names;
    for (const auto& [name, content] : c.start)
        names.push_back(name);
    bool killed = true;
    for (int step = 1; killed && step < 200; ++step) {
        SCOPED_TRACE("killed before step " + std::to_string(step));
        Lay(card.path(), c.start);
        killed = ExecuteKilledAt(card.path(), names, c.options, step);
        if (remount)
            ASSERT_TRUE(card.Remount());
        else
            std::ofstream("/proc/sys/vm/drop_caches") << "2\n";
        // Other programs look at the card first (a file manager, say), in an order of their
        // own: the driver numbers the files as they are asked for.
        for (auto it = c.start.rbegin(); it != c.start.rend(); ++it)
            (void)fs::exists(card.path() + "/" + it->first + ".thumb");
        for (auto it = c.start.rbegin(); it != c.start.rend(); ++it)
            (void)fs::exists(card.path() + "/" + it->first);
        // A new program: it starts, then takes the execution back.
        RepairCutRunAtStart();
        const std::optional<UndoRecord> record = LoadUndoRecord();
        ASSERT_TRUE(record);
        UndoHooks hooks;
        hooks.Repair = RunWasCut();
        const UndoOutcome outcome = UndoRenames(*record, hooks);
        EXPECT_TRUE(outcome.Left.empty());
        ASSERT_EQ(CardFiles(card.path()), c.start);
        RemoveUndoRecord();
        MarkRunEnded();
    }
    EXPECT_FALSE(killed) << "the run never ended";
}

INSTANTIATE_TEST_SUITE_P(Card, CutRuns, testing::Combine(testing::ValuesIn(kCutCases), testing::Bool()),
                         [](const testing::TestParamInfo<std::tuple<CutCase, bool>>& row) {
                             std::string name = std::string(std::get<0>(row.param).label) +
                                                (std::get<1>(row.param) ? " remounted" : " forgotten");
                             for (char& ch : name)
                                 if (!isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

// --- The history under random executions, undos, redos, stops and kills. ---

enum class Act { Execute, Undo, Redo };

// One act of a program: an execution of every file of folder, or the undo or redo the menu
// offers, stopped ("中止") after stopAt files (0: not stopped).
void Perform(Act act, const std::string& folder, const RenameOptions& options, int stopAt)
{
    const auto progress = [stopAt](int n, int) {
        if (n == stopAt)
            throw RunStopped(n - 1);
    };
    if (act == Act::Execute) {
        std::vector<std::string> names;
        for (const auto& [name, content] : CardFiles(folder))
            names.push_back(name);
        ExecutionRecord record;
        ExecuteHooks hooks{progress, {}, [&](const UndoRecord& r) { return record.Save(r) == RecordSave::Saved; },
                           [&] { record.Renamed(); }, {}};
        try {
            ExecuteRenames(folder + "/", names, GroupFiles(names, std::vector<bool>(names.size(), true), true),
                           options, 0, hooks);
        } catch (const RunStopped&) {
        }
        return;
    }
    const platform::StateLock lock = LockRecords();
    const std::vector<HistoryItem> items = ReadHistory();
    const UndoHooks hooks{progress, {}, {}, RunWasCut()};
    if (const auto next = act == Act::Undo ? NextToUndo(items) : NextToRedo(items))
        (act == Act::Undo ? UndoExecution : RedoExecution)(items[*next], hooks, {});
}

TEST(HistoryProperty, NothingLostAndEverythingComesBack)
{
    std::mt19937 rng(34);
    const auto pick = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(rng); };
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(RemoveUndoRecord());
        MarkRunEnded();
        TempFolder root;
        const std::vector<std::string> folders{root / "a", root / "b"};
        const Files first[2] = {{{"01.jpg", "a1"}, {"02.jpg", "a2"}, {"03.JPG", "a3"}, {"03.CR2", "a3 raw"}},
                                {{"x.jpg", "b1"}, {"y.jpg", "b2"}, {"y.xmp", "b2 side"}}};
        std::multiset<std::string> contents;
        for (int f = 0; f < 2; ++f) {
            fs::create_directory(folders[f]);
            Lay(folders[f], first[f]);
            for (const auto& [name, content] : first[f])
                contents.insert(content);
        }
        for (int step = 0; step < 12; ++step) {
            const Act act = static_cast<Act>((pick(0, 4) + 1) / 2); // undos and redos twice as often
            RenameOptions o;
            o.ChangeText = o.Sequential = pick(0, 1) == 1;
            o.NewText = pick(0, 1) ? "p" : "q";
            o.ExtLowerCase = pick(0, 1) == 1;
            const std::string& folder = folders[static_cast<std::size_t>(pick(0, 1))];
            SCOPED_TRACE("act " + std::to_string(static_cast<int>(act)) + " in " + folder);
            if (pick(0, 3) == 0) {
                // Killed before a random change of the folder; the next program starts.
                if (const pid_t child = fork(); child == 0) {
                    stepsLeft = pick(1, 6);
                    platform::SetRenameStepHook(KillAtStep);
                    Perform(act, folder, o, 0);
                    _exit(0);
                } else {
                    waitpid(child, nullptr, 0);
                }
                RepairCutRunAtStart();
            } else {
                Perform(act, folder, o, pick(0, 1) ? 0 : pick(1, 4));
            }
            // Nothing lost, replaced or duplicated, wherever it is.
            std::multiset<std::string> now;
            for (const std::string& f : folders)
                for (const auto& [name, content] : CardFiles(f))
                    now.insert(content);
            ASSERT_EQ(now, contents);
        }
        // Taking back everything, newest first, brings back the first names.
        for (int guard = 0; guard < 40 && NextToUndo(ReadHistory()); ++guard)
            Perform(Act::Undo, folders[0], {}, 0);
        EXPECT_FALSE(NextToUndo(ReadHistory()));
        EXPECT_EQ(CardFiles(folders[0]), first[0]);
        EXPECT_EQ(CardFiles(folders[1]), first[1]);
    }
    RemoveUndoRecord();
}

} // namespace
