#include "rename/renamerun.h"

#include "platform/filesystem.h"

#include <ctime>
#include <exception>
#include <random>

bool IsSafeNewName(const std::string& name)
{
    // A leading "." would hide the file (".", ".." and ".txt" alike), so such a name is refused.
    return !name.empty() && name[0] != '.' && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

void ComposeTrialRows(const std::vector<std::string>& names, const std::vector<bool>& selected,
                      const RenameOptions& options, int32_t firstNumber,
                      const RunProgress& progress, std::vector<std::string>& rows)
{
    ComposeTrialRows(names, SingleFiles(selected), options, firstNumber, progress, rows);
}

void ComposeTrialRows(const std::vector<std::string>& names, const FileGroups& groups,
                      const RenameOptions& options, int32_t firstNumber,
                      const RunProgress& progress, std::vector<std::string>& rows)
{
    GroupNames composed = ComposeGroupNames(names, groups, options, firstNumber, progress);
    const std::size_t end = composed.Failure ? groups.PhotoOf(composed.Groups) : groups.RowEnd;
    const std::size_t first = rows.size();
    rows.resize(first + end);
    for (std::size_t j = 0; j < composed.Names.size(); ++j)
        if (const std::size_t row = groups.Rows[j]; row < end)
            rows[first + row] = std::move(composed.Names[j]);
    // Selected but in no group: such a file keeps its name.
    for (const std::uint32_t row : groups.Left)
        if (row < end)
            rows[first + row] = names[row];
    if (composed.Failure)
        std::rethrow_exception(composed.Failure);
}

namespace {
// The folder of a prefix: "/a/b/" -> "/a/b", "/" -> "/".
std::string FolderOfPrefix(const std::string& prefix)
{
    return prefix.size() > 1 && prefix.back() == '/' ? prefix.substr(0, prefix.size() - 1) : prefix;
}

// True when some file of group g would be given a name that is never used: the group then
// stays as it is without a look at the disk.
bool HasUnsafeName(const std::vector<std::string>& names, const FileGroups& groups,
                   const std::vector<std::string>& newNames, std::size_t g)
{
    for (std::size_t j = groups.Starts[g]; j < groups.Starts[g + 1]; ++j)
        if (newNames[j] != names[groups.Rows[j]] && !IsSafeNewName(newNames[j]))
            return true;
    return false;
}

// A token no other run's temporary names share.
uint64_t NewToken()
{
    std::random_device device;
    const uint64_t token = (static_cast<uint64_t>(device()) << 32) ^ device() ^ static_cast<uint64_t>(std::time(nullptr));
    return token == 0 ? 1 : token;
}

// The record of the renames a run will try, from the names composed beforehand, in the order
// the run takes them, so that an undo walking it backwards frees each name before it is needed.
// entryOf receives, by composed name, the index of its entry (or -1): the temporary name of
// its rename is the entry's (RunTemporaryStem), which the record thus knows beforehand.
UndoRecord PlannedRenames(const std::string& prefix, const platform::FolderHandle& folder,
                          const std::vector<std::string>& names, const FileGroups& groups,
                          const GroupNames& composed, std::vector<long>& entryOf)
{
    UndoRecord planned;
    planned.Folder = FolderOfPrefix(prefix);
    planned.LooseIdentity = folder.LooseIdentity();
    planned.Token = NewToken();
    planned.Began = static_cast<int64_t>(std::time(nullptr));
    entryOf.assign(composed.Names.size(), -1);
    std::vector<std::size_t> members;
    std::vector<const std::string*> currents, news;
    for (std::size_t g = 0; g < composed.Groups; ++g) {
        if (HasUnsafeName(names, groups, composed.Names, g))
            continue;
        for (std::size_t j = groups.Starts[g]; j < groups.Starts[g + 1]; ++j) {
            const std::string& current = names[groups.Rows[j]];
            if (composed.Names[j] != current) {
                currents.push_back(&current);
                news.push_back(&composed.Names[j]);
                members.push_back(j);
            }
        }
    }
    // The identities in one batch, which takes them on two threads.
    const std::vector<std::optional<platform::FileIdentity>> ids = folder.IdentitiesOf(currents);
    planned.Entries.reserve(ids.size());
    for (std::size_t j = 0; j < ids.size(); ++j) {
        // A file that is not there can't be renamed, nor be renamed back.
        if (const auto& id = ids[j]) {
            entryOf[members[j]] = static_cast<long>(planned.Entries.size());
            planned.Entries.push_back(
                {*currents[j], *news[j], id->Device, id->Inode, id->Birth, id->Size, id->ModifiedNanos});
        }
    }
    if (const auto id = folder.Identity()) {
        planned.FolderDevice = id->Device;
        planned.FolderInode = id->Inode;
        planned.FolderBirth = id->Birth;
    }
    return planned;
}

// Renames the files of group g all or nothing. A process killed part way through a group
// leaves some of its files renamed: the record written before the run holds every file of
// every group, and the undo gives back their names to those found under their new names and
// passes over those still under their old ones.
void RenameGroup(const platform::FolderHandle& folder, const std::string& prefix,
                 const std::vector<std::string>& names, const FileGroups& groups,
                 const std::vector<std::string>& newNames, std::size_t g, const ExecuteHooks& hooks,
                 const UndoRecord& planned, const std::vector<long>& entryOf)
{
    const auto stem = [&](std::size_t j) {
        return j < entryOf.size() && entryOf[j] >= 0
                   ? platform::TemporaryStem{planned.Token, static_cast<std::size_t>(entryOf[j])}
                   : platform::TemporaryStem{};
    };
    if (HasUnsafeName(names, groups, newNames, g))
        return;
    const std::size_t begin = groups.Starts[g], end = groups.Starts[g + 1];
    std::size_t j = begin;
    platform::RenameResult r = platform::RenameResult::Renamed;
    for (; j < end; ++j) {
        // An unchanged name is left alone without asking the disk.
        if (newNames[j] != names[groups.Rows[j]] &&
            (r = folder.RenameNoReplace(names[groups.Rows[j]], newNames[j], stem(j))) != platform::RenameResult::Renamed)
            break;
    }
    if (j == end) {
        for (std::size_t k = begin; k < end; ++k)
            if (newNames[k] != names[groups.Rows[k]] && hooks.Renamed)
                hooks.Renamed();
        return;
    }
    // Back to the old names, the last renamed first, before anything is shown: the folder
    // is whole again while the box is open. A file whose old name someone took meanwhile
    // keeps its new one.
    for (std::size_t k = j; k-- > begin;) {
        const std::string& current = names[groups.Rows[k]];
        if (newNames[k] != current && folder.RenameNoReplace(newNames[k], current, stem(k)) != platform::RenameResult::Renamed &&
            hooks.Renamed)
            hooks.Renamed();
    }
    // A failure of another kind (a folder of that name, no rights) goes unreported.
    if (r == platform::RenameResult::Taken && hooks.ReportTaken)
        hooks.ReportTaken(prefix + newNames[j]);
}
} // namespace

void ExecuteRenames(const std::string& prefix, const std::vector<std::string>& names,
                    const std::vector<bool>& selected, const RenameOptions& options,
                    int32_t firstNumber, const ExecuteHooks& hooks)
{
    ExecuteRenames(prefix, names, SingleFiles(selected), options, firstNumber, hooks);
}

void ExecuteRenames(const std::string& prefix, const std::vector<std::string>& names,
                    const FileGroups& groups, const RenameOptions& options,
                    int32_t firstNumber, const ExecuteHooks& hooks)
{
    if (groups.size() == 0)
        return;
    // One open folder for the whole run: each file then costs one rename relative to it, and
    // the existence test is made only when that rename fails.
    const platform::FolderHandle folder(prefix, hooks.Ways);
    // The names are composed before the first rename so the record of the whole run can be
    // written first. A name that can't be composed stops the run at that photo, after the
    // groups before it were renamed, as if it had been composed in turn.
    const GroupNames composed = ComposeGroupNames(names, groups, options, firstNumber, {});
    UndoRecord planned;
    std::vector<long> entryOf;
    if (hooks.BeforeRenames) {
        planned = PlannedRenames(prefix, folder, names, groups, composed, entryOf);
        if (!planned.Entries.empty() && !hooks.BeforeRenames(planned))
            return;
    }
    const int t = static_cast<int>(groups.size());
    for (std::size_t g = 0; g < groups.size(); ++g) {
        if (hooks.Progress)
            hooks.Progress(static_cast<int>(g) + 1, t);
        if (g == composed.Groups)
            std::rethrow_exception(composed.Failure);
        RenameGroup(folder, prefix, names, groups, composed.Names, g, hooks, planned, entryOf);
    }
}
