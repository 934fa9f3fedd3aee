#include "rename/foresight.h"

#include "base/errors.h"
#include "rename/renamerun.h"

#include <algorithm>
#include <unordered_map>

std::vector<Foresight> ForeseeRenames(platform::FolderSnapshot folder,
                                      const std::vector<std::string>& names,
                                      const std::vector<bool>& selected,
                                      const std::vector<std::string>& rows)
{
    using platform::EntryKind;
    std::unordered_map<std::string, EntryKind> present;
    present.reserve(folder.Entries.size());
    for (platform::FolderEntry& e : folder.Entries)
        present.emplace(std::move(e.Name), e.Kind);

    std::vector<Foresight> verdicts(rows.size(), Foresight::Fine);
    const std::size_t last = std::min({rows.size(), names.size(), selected.size()});
    for (std::size_t i = 0; i < last; ++i) {
        const std::string& current = names[i];
        const std::string& wanted = rows[i];
        if (!selected[i] || wanted == current)
            continue;
        if (!IsSafeNewName(wanted)) {
            verdicts[i] = Foresight::Refused;
            continue;
        }
        const auto target = present.find(wanted);
        const auto source = present.find(current);
        // Renaming without replacing succeeds exactly when the file is still there, nothing at
        // all holds the new name, the name fits and the folder may be changed.
        if (target == present.end() && source != present.end() &&
            wanted.size() <= folder.NameMax && folder.Writable) {
            const EntryKind kind = source->second;
            present.erase(source);
            present.emplace(wanted, kind);
            continue;
        }
        // A failed rename is reported only when a file (links followed) holds the new name.
        const bool fileThere = target != present.end() && target->second == EntryKind::File;
        verdicts[i] = fileThere ? Foresight::Taken : Foresight::Refused;
    }
    return verdicts;
}

std::vector<Foresight> ForeseeRenamesIn(const std::string& folder,
                                        const std::vector<std::string>& names,
                                        const std::vector<bool>& selected,
                                        const std::vector<std::string>& rows)
{
    try {
        return ForeseeRenames(platform::ReadFolderSnapshot(folder), names, selected, rows);
    } catch (const EFileError&) {
        // The trial run itself never needed the folder: it shows its rows without marks.
        return std::vector<Foresight>(rows.size(), Foresight::Fine);
    }
}
