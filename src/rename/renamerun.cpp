#include "rename/renamerun.h"

#include "base/selection.h"
#include "platform/filesystem.h"

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

void ExecuteRenames(const std::string& prefix, const std::vector<std::string>& names,
                    const std::vector<bool>& selected, const RenameOptions& options,
                    int32_t firstNumber, const ExecuteHooks& hooks)
{
    const SelectionSummary s = SummarizeSelection(selected);
    if (s.Count == 0)
        return;
    // One open folder for the whole run: each file then costs one rename relative to it, and
    // the existence test is made only when that rename fails.
    const platform::FolderHandle folder(prefix);
    int32_t number = firstNumber;
    int n = 0;
    for (int i = 0; i <= s.Last; ++i) {
        if (!selected[static_cast<std::size_t>(i)])
            continue;
        ++n;
        if (hooks.Progress)
            hooks.Progress(n, s.Count);
        const std::string& current = names[static_cast<std::size_t>(i)];
        const std::string newName = ComposeNewName(current, options, number);
        // An unchanged name is left alone without asking the disk. A failure (a folder of
        // that name, no rights) leaves the file as it was and goes unreported.
        if (IsSafeNewName(newName) && newName != current &&
            folder.RenameNoReplace(current, newName) == platform::RenameResult::Taken &&
            hooks.ReportTaken)
            hooks.ReportTaken(prefix + newName);
        number = Next(number);
    }
}
