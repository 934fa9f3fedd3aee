#include "rename/foresight.h"

#include "base/errors.h"
#include "rename/renamerun.h"

#include <QByteArrayView>
#include <QHash>

#include <algorithm>

namespace {
using platform::EntryKind;
constexpr auto kAbsent = static_cast<EntryKind>(0xff);

QByteArrayView View(const std::string& s)
{
    return QByteArrayView(s.data(), static_cast<qsizetype>(s.size()));
}
} // namespace

std::vector<Foresight> ForeseeRenames(const platform::FolderSnapshot& folder,
                                      const std::vector<std::string>& names,
                                      const std::vector<bool>& selected,
                                      const std::vector<std::string>& rows)
{
    // Every name the run meets gets a slot once; the replay then only moves kinds between
    // table, so 100,000 renames cost no allocation each. The keys point into the callers'
    // strings, which outlive the table.
    QHash<QByteArrayView, std::uint32_t> table;
    table.reserve(static_cast<qsizetype>(folder.Entries.size() + 2 * rows.size()));
    std::vector<EntryKind> state;
    state.reserve(folder.Entries.size() + 2 * rows.size());
    for (const platform::FolderEntry& e : folder.Entries) {
        table.emplace(View(e.Name), static_cast<std::uint32_t>(state.size()));
        state.push_back(e.Kind);
    }
    const auto slotOf = [&](const std::string& name) {
        if (const auto it = table.constFind(View(name)); it != table.constEnd())
            return *it;
        const auto slot = static_cast<std::uint32_t>(state.size());
        table.emplace(View(name), slot);
        state.push_back(kAbsent);
        return slot;
    };

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
        const std::uint32_t to = slotOf(wanted);
        const std::uint32_t from = slotOf(current);
        // Renaming without replacing succeeds exactly when the file is still there, nothing at
        // all holds the new name, the name fits and the folder may be changed.
        if (state[to] == kAbsent && state[from] != kAbsent && wanted.size() <= folder.NameMax &&
            folder.Writable) {
            state[to] = state[from];
            state[from] = kAbsent;
            continue;
        }
        // A failed rename is reported only when a file (links followed) holds the new name.
        verdicts[i] = state[to] == EntryKind::File ? Foresight::Taken : Foresight::Refused;
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
