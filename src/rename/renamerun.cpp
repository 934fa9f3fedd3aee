#include "rename/renamerun.h"

#include "base/selection.h"
#include "platform/filesystem.h"

#include <exception>

namespace {
// The sequence number wraps like the 32-bit integer it is.
int32_t Next(int32_t n)
{
    return static_cast<int32_t>(static_cast<uint32_t>(n) + 1u);
}
} // namespace

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
    const SelectionSummary s = SummarizeSelection(selected);
    rows.reserve(rows.size() + static_cast<std::size_t>(s.Last + 1));
    int32_t number = firstNumber;
    int n = 0;
    for (int i = 0; i <= s.Last; ++i) {
        if (!selected[static_cast<std::size_t>(i)]) {
            rows.emplace_back();
            continue;
        }
        ++n;
        if (progress)
            progress(n, s.Count);
        rows.push_back(ComposeNewName(names[static_cast<std::size_t>(i)], options, number));
        number = Next(number);
    }
}

namespace {
// The folder of a prefix: "/a/b/" -> "/a/b", "/" -> "/".
std::string FolderOfPrefix(const std::string& prefix)
{
    return prefix.size() > 1 && prefix.back() == '/' ? prefix.substr(0, prefix.size() - 1) : prefix;
}

// The record of the renames a run will try, from the names composed beforehand.
UndoRecord PlannedRenames(const std::string& prefix, const platform::FolderHandle& folder,
                          const std::vector<std::string>& names, const std::vector<bool>& selected,
                          const std::vector<std::string>& newNames)
{
    UndoRecord planned;
    planned.Folder = FolderOfPrefix(prefix);
    std::vector<const std::string*> currents, news;
    std::size_t k = 0;
    for (std::size_t i = 0; i < selected.size() && k < newNames.size(); ++i) {
        if (!selected[i])
            continue;
        const std::string& current = names[i];
        const std::string& newName = newNames[k++];
        if (!IsSafeNewName(newName) || newName == current)
            continue;
        currents.push_back(&current);
        news.push_back(&newName);
    }
    // The identities in one batch, which takes them on two threads.
    const std::vector<std::optional<platform::FileIdentity>> ids = folder.IdentitiesOf(currents);
    planned.Entries.reserve(ids.size());
    for (std::size_t j = 0; j < ids.size(); ++j) {
        // A file that is not there can't be renamed, nor be renamed back.
        if (const auto& id = ids[j])
            planned.Entries.push_back({*currents[j], *news[j], id->Device, id->Inode, id->Birth});
    }
    if (const auto id = folder.Identity()) {
        planned.FolderDevice = id->Device;
        planned.FolderInode = id->Inode;
        planned.FolderBirth = id->Birth;
    }
    return planned;
}
} // namespace

void ExecuteRenames(const std::string& prefix, const std::vector<std::string>& names,
                    const std::vector<bool>& selected, const RenameOptions& options,
                    int32_t firstNumber, const ExecuteHooks& hooks)
{
    const SelectionSummary s = SummarizeSelection(selected);
    if (s.Count == 0)
        return;
    // One open folder for the whole run: each file then costs one rename relative to it, and
    // the existence test is made only when that rename fails.
    const platform::FolderHandle folder(prefix, hooks.Ways);
    // The names are composed before the first rename so the record of the whole run can be
    // written first. A name that can't be composed stops the run at that file, after the
    // files before it were renamed, as if it had been composed in turn.
    std::vector<std::string> newNames;
    newNames.reserve(static_cast<std::size_t>(s.Count));
    std::exception_ptr failure;
    int32_t number = firstNumber;
    for (int i = 0; i <= s.Last; ++i) {
        if (!selected[static_cast<std::size_t>(i)])
            continue;
        try {
            newNames.push_back(ComposeNewName(names[static_cast<std::size_t>(i)], options, number));
        } catch (...) {
            failure = std::current_exception();
            break;
        }
        number = Next(number);
    }
    if (hooks.BeforeRenames) {
        const UndoRecord planned = PlannedRenames(prefix, folder, names, selected, newNames);
        if (!planned.Entries.empty() && !hooks.BeforeRenames(planned))
            return;
    }
    std::size_t k = 0;
    int n = 0;
    for (int i = 0; i <= s.Last; ++i) {
        if (!selected[static_cast<std::size_t>(i)])
            continue;
        ++n;
        if (hooks.Progress)
            hooks.Progress(n, s.Count);
        if (k == newNames.size())
            std::rethrow_exception(failure);
        const std::string& current = names[static_cast<std::size_t>(i)];
        const std::string& newName = newNames[k++];
        // An unchanged name is left alone without asking the disk. A failure (a folder of
        // that name, no rights) leaves the file as it was and goes unreported.
        if (!IsSafeNewName(newName) || newName == current)
            continue;
        const platform::RenameResult r = folder.RenameNoReplace(current, newName);
        if (r == platform::RenameResult::Renamed && hooks.Renamed)
            hooks.Renamed();
        else if (r == platform::RenameResult::Taken && hooks.ReportTaken)
            hooks.ReportTaken(prefix + newName);
    }
}
