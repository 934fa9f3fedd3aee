#include "rename/foresight.h"

#include "base/errors.h"
#include "platform/foldersnapshot.h"
#include "rename/renamerun.h"

#include <algorithm>
#include <array>
#include <bit>
#include <functional>
#include <string_view>
#include <system_error>

namespace {
using platform::EntryKind;
constexpr auto kAbsent = static_cast<EntryKind>(0xff);

// Every name the run meets, each with what the folder holds under it. Open addressing over
// one flat array of cells that carry the name itself: 100,000 names cost no allocation each,
// and a lookup touches one cell and the name's bytes. The names stay where they are (the
// snapshot's entries, the list, the rows), which outlive the table. Slots stay put until
// Reserve.
class NameKinds {
public:
    using Hash = std::uint64_t;
    explicit NameKinds(std::size_t expected) { Reserve(expected); }

    // Room for that many more names without moving any.
    void Reserve(std::size_t more)
    {
        const std::size_t wanted = std::bit_ceil((used_ + more) * 4 / 3 + 16);
        if (wanted > cells_.size())
            Rehash(wanted);
    }

    static Hash HashOf(std::string_view name) { return std::hash<std::string_view>{}(name); }
    // Brings the cell a later lookup starts at into the cache while other work goes on.
    void Prefetch(Hash h) const { __builtin_prefetch(&cells_[h & mask_]); }

    // The slot of the name, added as absent when the table holds nothing of that name.
    std::uint32_t SlotOf(std::string_view name, Hash h)
    {
        const auto tag = static_cast<std::uint16_t>(h >> 48);
        for (std::size_t i = h & mask_;; i = (i + 1) & mask_) {
            Cell& c = cells_[i];
            if (!c.used) {
                if (4 * (used_ + 1) > 3 * cells_.size()) {
                    Rehash(2 * cells_.size());
                    return SlotOf(name, h);
                }
                c = {name.data(), static_cast<std::uint32_t>(name.size()), tag, kAbsent, true};
                ++used_;
                return static_cast<std::uint32_t>(i);
            }
            if (c.tag == tag && c.size == name.size() &&
                std::string_view(c.data, c.size) == name)
                return static_cast<std::uint32_t>(i);
        }
    }
    std::uint32_t SlotOf(std::string_view name) { return SlotOf(name, HashOf(name)); }
    EntryKind& operator[](std::uint32_t slot) { return cells_[slot].kind; }

private:
    struct Cell {
        const char* data = nullptr;
        std::uint32_t size = 0;
        std::uint16_t tag = 0;
        EntryKind kind = kAbsent;
        bool used = false;
    };

    void Rehash(std::size_t cells)
    {
        std::vector<Cell> old(cells, Cell{});
        old.swap(cells_);
        mask_ = cells - 1;
        for (const Cell& c : old) {
            if (!c.used)
                continue;
            std::size_t i = HashOf(std::string_view(c.data, c.size)) & mask_;
            while (cells_[i].used)
                i = (i + 1) & mask_;
            cells_[i] = c;
        }
    }

    std::vector<Cell> cells_;
    std::size_t mask_ = 0;
    std::size_t used_ = 0;
};

} // namespace

struct ForesightReading::Folder {
    platform::FolderSnapshot snapshot;
    NameKinds kinds;

    // Each listed file may bring its current and its new name besides the names the folder
    // holds.
    Folder(const std::string& folder, std::size_t listed)
        : snapshot(platform::ReadFolderSnapshot(folder)), kinds(snapshot.Entries.size() + 2 * listed)
    {
        for (const platform::FolderEntry& e : snapshot.Entries)
            kinds[kinds.SlotOf(e.Name)] = e.Kind;
    }
};

ForesightReading::ForesightReading(const std::string& folder, std::size_t listed)
{
    const auto read = [folder, listed] { return std::make_unique<Folder>(folder, listed); };
    try {
        folder_ = std::async(std::launch::async, read);
    } catch (const std::system_error&) {
        // No thread to be had: the folder is read when the verdicts are asked for.
        folder_ = std::async(std::launch::deferred, read);
    }
}

// The future of std::async waits for its thread: the reading never outlives its trial run.
ForesightReading::~ForesightReading() = default;

std::vector<Foresight> ForesightReading::Foresee(const std::vector<std::string>& names,
                                                 const std::vector<bool>& selected,
                                                 const std::vector<std::string>& rows)
{
    std::vector<Foresight> verdicts(rows.size(), Foresight::Fine);
    std::unique_ptr<Folder> folder;
    try {
        folder = folder_.get();
    } catch (const EFileError&) {
        // The trial run itself never needed the folder: it shows its rows without marks.
        return verdicts;
    }
    NameKinds& state = folder->kinds;
    const platform::FolderSnapshot& s = folder->snapshot;
    const std::size_t last = std::min({rows.size(), names.size(), selected.size()});
    state.Reserve(2 * last);
    // The cells a row needs are fetched a few rows ahead: the table is far larger than the
    // caches, and waiting for memory is most of what a lookup costs.
    constexpr std::size_t kAhead = 8;
    std::array<std::pair<NameKinds::Hash, NameKinds::Hash>, kAhead> ahead{};
    const auto fetch = [&](std::size_t i) {
        if (i >= last || !selected[i])
            return;
        auto& [to, from] = ahead[i % kAhead];
        to = NameKinds::HashOf(rows[i]);
        from = NameKinds::HashOf(names[i]);
        state.Prefetch(to);
        state.Prefetch(from);
    };
    for (std::size_t i = 0; i < kAhead; ++i)
        fetch(i);
    for (std::size_t i = 0; i < last; ++i) {
        const auto [toHash, fromHash] = ahead[i % kAhead];
        fetch(i + kAhead);
        const std::string& current = names[i];
        const std::string& wanted = rows[i];
        if (!selected[i] || wanted == current)
            continue;
        if (!IsSafeNewName(wanted)) {
            verdicts[i] = Foresight::Refused;
            continue;
        }
        const std::uint32_t to = state.SlotOf(wanted, toHash);
        const std::uint32_t from = state.SlotOf(current, fromHash);
        // Renaming without replacing succeeds exactly when the file is still there, nothing at
        // all holds the new name, the name fits and the folder may be changed.
        if (state[to] == kAbsent && state[from] != kAbsent && wanted.size() <= s.NameMax &&
            s.Writable) {
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
    return ForesightReading(folder, names.size()).Foresee(names, selected, rows);
}
