#include "filelist/deletion.h"

#include "base/selection.h"
#include "platform/filesystem.h"

#include <algorithm>

int DeleteSelected(const std::string& folder, const std::vector<std::string>& names,
                   const std::vector<bool>& selected, const DeletionProgress& progress)
{
    const SelectionSummary s = SummarizeSelection(selected);
    if (s.Count == 0)
        return 0;
    // Opened once, so each file costs one unlink relative to the folder, not a path walk.
    const platform::FolderHandle dir(folder);
    const std::size_t end = std::min(names.size(), static_cast<std::size_t>(s.Last) + 1);
    int done = 0;
    int removed = 0;
    for (std::size_t i = 0; i < end; ++i) {
        if (!selected[i])
            continue;
        if (progress)
            progress(done + 1, s.Count);
        ++done;
        if (dir.RemoveFile(names[i]))
            ++removed;
    }
    return removed;
}
