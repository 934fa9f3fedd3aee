// Calls relative to an open folder, with and without RENAME_NOREPLACE, on real folders.
#include "platform/filesystem.h"

#include "base/errors.h"
#include "support/cardimage.h"
#include "support/tempfolder.h"
#include "support/rowname.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using platform::FolderHandle;
using platform::RenameResult;
using Names = std::vector<std::string>;

// Renames that take the link + unlink path from the start.
constexpr platform::RenameWays kLinkPath{.NoReplace = false};

// One folder: "file" (content "mine"), "other" ("theirs"), a folder "sub", a link to "other",
// a dangling link and a link to "sub".
struct Folder {
    TempFolder dir;
    Folder()
    {
        dir.Write("file", "mine");
        dir.Write("other", "theirs");
        dir.MakeFolder("sub");
        EXPECT_EQ(symlink("other", (dir / "link to other").c_str()), 0);
        EXPECT_EQ(symlink("nowhere", (dir / "dangling").c_str()), 0);
        EXPECT_EQ(symlink("sub", (dir / "link to sub").c_str()), 0);
    }
    Names Entries() const
    {
        Names n;
        for (const auto& e : std::filesystem::directory_iterator(dir.path()))
            n.push_back(e.path().filename().native());
        std::sort(n.begin(), n.end());
        return n;
    }
};

const Names kStart = {"dangling", "file", "link to other", "link to sub", "other", "sub"};

struct RenameCase {
    const char* label;
    std::string from, to;
    RenameResult result;
    Names after;
};

const std::vector<RenameCase> kRenameCases = {
    {"free name", "file", "new", RenameResult::Renamed,
     {"dangling", "link to other", "link to sub", "new", "other", "sub"}},
    {"raw bytes", "file", "\x82\xa0.jpg", RenameResult::Renamed,
     {"dangling", "link to other", "link to sub", "other", "sub", "\x82\xa0.jpg"}},
    {"taken by a file", "file", "other", RenameResult::Taken, kStart},
    {"taken by a link to a file", "file", "link to other", RenameResult::Taken, kStart},
    {"a folder of that name", "file", "sub", RenameResult::Failed, kStart},
    {"a link to a folder", "file", "link to sub", RenameResult::Failed, kStart},
    {"a dangling link", "file", "dangling", RenameResult::Failed, kStart},
    {"the file is gone, the name is free", "gone", "new", RenameResult::Failed, kStart},
    {"the file is gone, the name is taken", "gone", "other", RenameResult::Taken, kStart},
    {"a path, not a name", "file", "sub/file", RenameResult::Failed, kStart},
    {"out of the folder", "file", "../file", RenameResult::Failed, kStart},
    {"dot dot", "file", "..", RenameResult::Failed, kStart},
    {"empty name", "file", "", RenameResult::Failed, kStart},
};

// Each row, by the rename call itself and by the link path (as where the call is refused).
class RenameRows : public testing::TestWithParam<std::tuple<RenameCase, bool>> {};

TEST_P(RenameRows, RenameNeverReplacesAndReportsOnlyFilesAsTaken)
{
    const auto& [c, linkPath] = GetParam();
    Folder f;
    const FolderHandle h(f.dir.path(), linkPath ? kLinkPath : platform::RenameWays{});
    ASSERT_TRUE(h.valid());
    EXPECT_EQ(h.RenameNoReplace(c.from, c.to), c.result);
    EXPECT_EQ(f.Entries(), c.after);
    EXPECT_EQ(f.dir.Read("other"), "theirs");
    EXPECT_TRUE(std::filesystem::is_empty(f.dir / "sub"));
    if (c.result == RenameResult::Renamed) {
        EXPECT_EQ(f.dir.Read(c.to), "mine");
    } else if (c.from == "file") {
        EXPECT_EQ(f.dir.Read("file"), "mine");
    }
}

INSTANTIATE_TEST_SUITE_P(FolderHandle, RenameRows,
                         testing::Combine(testing::ValuesIn(kRenameCases), testing::Bool()),
                         RowNames([](const std::tuple<RenameCase, bool>& row) {
                             return std::string(std::get<0>(row).label) +
                                    (std::get<1>(row) ? " by the link path" : "");
                         }));

TEST(FolderHandle, LinkPathKeepsOneNameForTheFile)
{
    Folder f;
    const FolderHandle h(f.dir.path(), kLinkPath);
    EXPECT_EQ(h.RenameNoReplace("file", "new"), RenameResult::Renamed);
    EXPECT_EQ(h.RenameNoReplace("new", "again"), RenameResult::Renamed);
    EXPECT_EQ(f.Entries(), (Names{"again", "dangling", "link to other", "link to sub", "other", "sub"}));
    struct stat st;
    ASSERT_EQ(stat((f.dir / "again").c_str(), &st), 0);
    EXPECT_EQ(st.st_nlink, 1u);
    EXPECT_EQ(f.dir.Read("again"), "mine");
}

// A name in the folder and whether the call takes it as a file (FileExists) or removes it
// (RemoveFile).
using NameCase = std::pair<std::string, bool>;

const auto kNameRowNames = RowNames([](const NameCase& c) { return c.first; });

class FileExistsRows : public testing::TestWithParam<NameCase> {};

TEST_P(FileExistsRows, FollowsLinksAndSaysNoToFolders)
{
    const auto& [name, exists] = GetParam();
    Folder f;
    const FolderHandle h(f.dir.path());
    EXPECT_EQ(h.FileExists(name), exists) << name;
}

const NameCase kExistsCases[] = {
    {"file", true},      {"link to other", true}, {"sub", false}, {"link to sub", false},
    {"dangling", false}, {"gone", false},         {"", false},    {"sub/x", false},
};

INSTANTIATE_TEST_SUITE_P(FolderHandle, FileExistsRows, testing::ValuesIn(kExistsCases), kNameRowNames);

class RemoveFileRows : public testing::TestWithParam<NameCase> {};

TEST_P(RemoveFileRows, TakesFilesAndLinksButNoFolder)
{
    const auto& [name, removed] = GetParam();
    Folder f;
    const FolderHandle h(f.dir.path());
    EXPECT_EQ(h.RemoveFile(name), removed);
    Names expected = kStart;
    if (removed)
        expected.erase(std::find(expected.begin(), expected.end(), name));
    EXPECT_EQ(f.Entries(), expected);
    EXPECT_EQ(f.dir.Read("other"), "theirs"); // a link's target stays
    EXPECT_TRUE(std::filesystem::is_directory(f.dir / "sub"));
}

const NameCase kRemoveCases[] = {
    {"file", true}, {"link to other", true}, {"dangling", true}, {"link to sub", true},
    {"sub", false}, {"gone", false},         {"", false},        {"../file", false},
    {".", false},   {"..", false},
};

INSTANTIATE_TEST_SUITE_P(FolderHandle, RemoveFileRows, testing::ValuesIn(kRemoveCases), kNameRowNames);

TEST(FolderHandle, AFolderThatCannotBeOpenedFailsEveryCall)
{
    TempFolder root;
    root.Write("file", "mine");
    for (const std::string& path : {root / "missing", root / "file"}) {
        const FolderHandle h(path);
        EXPECT_FALSE(h.valid());
        EXPECT_EQ(h.RenameNoReplace("file", "new"), RenameResult::Failed);
        EXPECT_FALSE(h.FileExists("file"));
        EXPECT_FALSE(h.RemoveFile("file"));
    }
    EXPECT_EQ(root.Files(), Names{"file"});
}

Names Sorted(Names n)
{
    std::sort(n.begin(), n.end());
    return n;
}

// One read gives what the two separate listings give: links followed, a dangling link a
// file, hidden names left out, names that are not UTF-8 kept as bytes.
TEST(ListFolder, SplitsFilesAndSubfoldersAsTheTwoListingsDo)
{
    Folder f;
    f.dir.Write(".hidden");
    f.dir.MakeFolder(".hidden folder");
    f.dir.Write("\x82\xa0.jpg");
    f.dir.MakeFolder("\xff folder");
    const platform::FolderEntries both = platform::ListFolder(f.dir.path());
    EXPECT_EQ(Sorted(both.Files), Sorted({"\x82\xa0.jpg", "dangling", "file", "link to other", "other"}));
    EXPECT_EQ(Sorted(both.Subfolders), Sorted({"link to sub", "sub", "\xff folder"}));
    EXPECT_EQ(Sorted(both.Files), Sorted(platform::ListFiles(f.dir.path())));
    EXPECT_EQ(Sorted(both.Subfolders), Sorted(platform::ListSubfolders(f.dir.path())));
    EXPECT_THROW(platform::ListFolder(f.dir / "gone"), EFileError);
}

int OpenDescriptors()
{
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

TEST(FolderHandle, ClosesItsFolder)
{
    TempFolder dir;
    const int before = OpenDescriptors();
    for (int i = 0; i < 100; ++i) {
        const FolderHandle h(dir.path());
        EXPECT_TRUE(h.valid());
    }
    EXPECT_EQ(OpenDescriptors(), before);
}

// Renames in turn through one handle on a real card, as an execution makes them: the handle
// learns there that the system has neither RENAME_NOREPLACE nor links, and the card folds
// letter case. No temporary name is left behind: the listing holds every entry.
struct CardStep {
    std::string from, to;
    RenameResult result;
};

struct CardCase {
    const char* label;
    std::map<std::string, std::string> start; // name -> content
    std::vector<CardStep> steps;
    std::map<std::string, std::string> after;
};

const std::vector<CardCase> kCardCases = {
    {"case only rename of the file itself",
     {{"A.JPG", "a"}, {"B.JPG", "b"}},
     {{"A.JPG", "A.jpg", RenameResult::Renamed}, {"A.jpg", "a.jpg", RenameResult::Renamed},
      {"B.JPG", "b.JPG", RenameResult::Renamed}},
     {{"a.jpg", "a"}, {"b.JPG", "b"}}},
    {"case only rename of a letter beyond ASCII",
     {{"ä1.jpg", "a"}},
     {{"ä1.jpg", "Ä1.jpg", RenameResult::Renamed}},
     {{"Ä1.jpg", "a"}}},
    {"onto the folded name of another file",
     {{"x.JPG", "x"}, {"IMG1.jpg", "i"}},
     {{"x.JPG", "img1.JPG", RenameResult::Taken}, {"x.JPG", "IMG1.JPG", RenameResult::Taken},
      {"IMG1.jpg", "X.jpg", RenameResult::Taken}},
     {{"x.JPG", "x"}, {"IMG1.jpg", "i"}}},
    {"onto the folded name of a folder",
     {{"x.jpg", "x"}, {"DCIM/", ""}},
     {{"x.jpg", "dcim", RenameResult::Failed}, {"x.jpg", "DCIM", RenameResult::Failed}},
     {{"x.jpg", "x"}, {"DCIM/", ""}}},
    {"a forbidden character fails for its own file only",
     {{"a.jpg", "a"}, {"b.jpg", "b"}, {"c.jpg", "c"}},
     {{"a.jpg", "a:1.jpg", RenameResult::Failed}, {"b.jpg", "B1.jpg", RenameResult::Renamed},
      {"c.jpg", "c?.jpg", RenameResult::Failed}, {"c.jpg", "C.JPG", RenameResult::Renamed},
      {"a.jpg", "b1.jpg", RenameResult::Taken}, {"a.jpg", "a|b.jpg", RenameResult::Failed},
      {"a.jpg", "A 1.jpg", RenameResult::Renamed}},
     {{"A 1.jpg", "a"}, {"B1.jpg", "b"}, {"C.JPG", "c"}}},
    {"a chain renamed from its free end",
     {{"1.jpg", "1"}, {"2.jpg", "2"}, {"3.jpg", "3"}},
     {{"1.jpg", "2.JPG", RenameResult::Taken}, {"3.jpg", "4.JPG", RenameResult::Renamed},
      {"2.jpg", "3.JPG", RenameResult::Renamed}, {"1.jpg", "2.JPG", RenameResult::Renamed}},
     {{"2.JPG", "1"}, {"3.JPG", "2"}, {"4.JPG", "3"}}},
    {"a swap through a free name",
     {{"a.jpg", "a"}, {"b.jpg", "b"}},
     {{"a.jpg", "B.JPG", RenameResult::Taken}, {"a.jpg", "t.jpg", RenameResult::Renamed},
      {"b.jpg", "A.JPG", RenameResult::Renamed}, {"t.jpg", "B.JPG", RenameResult::Renamed}},
     {{"A.JPG", "b"}, {"B.JPG", "a"}}},
};

void PrintTo(const CardCase& c, std::ostream* os) { *os << c.label; }

std::map<std::string, std::string> CardContent(const std::string& folder)
{
    std::map<std::string, std::string> content;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        const std::string name = e.path().filename().native();
        if (e.is_directory())
            content[name + "/"] = "";
        else
            content[name] = ReadFileBytes(e.path().native());
    }
    return content;
}

class CardRows : public testing::TestWithParam<std::tuple<CardCase, CardKind>> {};

TEST_P(CardRows, RenamesOnTheCardAsTheCardAllowsAndNeverReplaces)
{
    const auto& [c, kind] = GetParam();
    const CardImage card(kind);
    SKIP_WITHOUT_CARD(card);
    for (const auto& [name, content] : c.start) {
        if (name.back() == '/')
            std::filesystem::create_directory(card.path() + "/" + name);
        else
            std::ofstream(card.path() + "/" + name, std::ios::binary) << content;
        // fusefat writes no names beyond ASCII.
        if (!std::filesystem::exists(card.path() + "/" + name))
            GTEST_SKIP() << "the card's driver can't hold the name " << name;
    }
    const FolderHandle h(card.path());
    for (const CardStep& step : c.steps)
        EXPECT_EQ(h.RenameNoReplace(step.from, step.to), step.result) << step.from << " -> " << step.to;
    EXPECT_EQ(CardContent(card.path()), c.after);
}

INSTANTIATE_TEST_SUITE_P(FolderHandle, CardRows,
                         testing::Combine(testing::ValuesIn(kCardCases),
                                          testing::Values(CardKind::ExFat, CardKind::Fat16)),
                         RowNames([](const std::tuple<CardCase, CardKind>& row) {
                             return std::string(std::get<0>(row).label) +
                                    (std::get<1>(row) == CardKind::ExFat ? " exFAT" : " FAT16");
                         }));

// A rename onto a claim that fails (the file went meanwhile) takes its empty claim away, even
// when the kernel forgot the claim in between and the card's driver numbers it anew.
std::string vanishing; // the file the step hook removes
int stepsTaken = 0;
void RemoveFileAndForgetBeforeTheRename()
{
    // Steps on a card: RENAME_NOREPLACE, a link, the claim, then the rename onto it.
    if (++stepsTaken == 4) {
        unlink(vanishing.c_str());
        std::ofstream("/proc/sys/vm/drop_caches") << "2\n";
    }
}

TEST(FolderHandle, AFailedRenameOntoAClaimTakesTheClaimAwayOnACard)
{
    const CardImage card(CardKind::ExFat);
    SKIP_WITHOUT_CARD(card);
    if (access("/proc/sys/vm/drop_caches", W_OK) != 0)
        GTEST_SKIP() << "can't make the kernel forget the card's entries (/proc/sys/vm/drop_caches)";
    vanishing = card.path() + "/a.jpg";
    // The driver does not always hand out a new number: a few rounds make it all but sure.
    for (int round = 0; round < 6; ++round) {
        std::ofstream(vanishing) << "photo";
        stepsTaken = 0;
        platform::SetRenameStepHook(RemoveFileAndForgetBeforeTheRename);
        EXPECT_EQ(FolderHandle(card.path()).RenameNoReplace("a.jpg", "b.jpg"), RenameResult::Failed);
        platform::SetRenameStepHook(nullptr);
        ASSERT_EQ(stepsTaken, 4) << "not the claim's way";
        ASSERT_FALSE(std::filesystem::exists(card.path() + "/b.jpg")) << "the claim stayed, round " << round;
    }
}

} // namespace
