#include "rename/foresight.h"

#include "base/errors.h"
#include "platform/foldersnapshot.h"
#include "rename/renamerun.h"

#include <algorithm>
#include <array>
#include <bit>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <system_error>

namespace {
using platform::EntryKind;
constexpr auto kAbsent = static_cast<EntryKind>(0xff);

// Every name the run meets, each with what the folder holds under it. Open addressing over
// one flat array of cells that carry the name itself: 100,000 names cost no allocation each,
// and a lookup touches one cell and the name's bytes. The names stay where they are (the
// list, the rows), which outlive the table. Made for a known number of names, it never
// grows, so a slot stays valid for the whole run.
class NameKinds {
public:
    using Hash = std::uint64_t;
    explicit NameKinds(std::size_t most)
        : cells_(std::bit_ceil(most * 4 / 3 + 16)), mask_(cells_.size() - 1), most_(most)
    {
    }

    static Hash HashOf(std::string_view name) { return std::hash<std::string_view>{}(name); }
    // Brings the cell a later lookup starts at into the cache while other work goes on.
    void Prefetch(Hash h) const { __builtin_prefetch(&cells_[h & mask_]); }

    // The slot of the name, added as absent when the table does not hold it yet.
    std::uint32_t SlotOf(std::string_view name, Hash h)
    {
        const auto tag = static_cast<std::uint16_t>(h >> 48);
        for (std::size_t i = h & mask_;; i = (i + 1) & mask_) {
            Cell& c = cells_[i];
            if (!c.used) {
                if (used_ == most_)
                    throw std::length_error("more names than the table was made for");
                c = {name.data(), static_cast<std::uint32_t>(name.size()), tag, kAbsent, true};
                ++used_;
                return static_cast<std::uint32_t>(i);
            }
            if (c.tag == tag && c.size == name.size() &&
                std::string_view(c.data, c.size) == name)
                return static_cast<std::uint32_t>(i);
        }
    }

    // The slot of the name, or none when the table does not hold it.
    std::optional<std::uint32_t> Find(std::string_view name, Hash h) const
    {
        const auto tag = static_cast<std::uint16_t>(h >> 48);
        for (std::size_t i = h & mask_;; i = (i + 1) & mask_) {
            const Cell& c = cells_[i];
            if (!c.used)
                return std::nullopt;
            if (c.tag == tag && c.size == name.size() &&
                std::string_view(c.data, c.size) == name)
                return static_cast<std::uint32_t>(i);
        }
    }
    EntryKind& operator[](std::uint32_t slot) { return cells_[slot].kind; }

private:
    struct Cell {
        const char* data = nullptr;
        std::uint32_t size = 0;
        std::uint16_t tag = 0;
        EntryKind kind = kAbsent;
        bool used = false;
    };

    std::vector<Cell> cells_;
    std::size_t mask_;
    std::size_t most_;
    std::size_t used_ = 0;
};

} // namespace

ForesightReading::ForesightReading(const std::string& folder)
{
    const auto read = [folder] { return platform::ReadFolderSnapshot(folder); };
    try {
        folder_ = std::async(std::launch::async, read);
    } catch (const std::system_error&) {
        // No thread to be had: the folder is read when the verdicts are asked for.
        folder_ = std::async(std::launch::deferred, read);
    }
}

// The future of std::async waits for its thread: the reading never outlives its trial run.
ForesightReading::~ForesightReading() = default;

namespace {

// Runs body(i, hashes...) for i in [0, count) where wanted(i), the cells of the names keys(i)
// gives fetched a few steps ahead: the table is far larger than the caches, and waiting for
// memory is most of what a lookup costs.
template <std::size_t N, typename Wanted, typename Keys, typename Body>
void WithCellsAhead(const NameKinds& table, std::size_t count, Wanted wanted, Keys keys, Body body)
{
    constexpr std::size_t kAhead = 8;
    std::array<std::array<NameKinds::Hash, N>, kAhead> ahead{};
    const auto fetch = [&](std::size_t i) {
        if (i >= count || !wanted(i))
            return;
        const std::array<std::string_view, N> k = keys(i);
        for (std::size_t n = 0; n < N; ++n) {
            ahead[i % kAhead][n] = NameKinds::HashOf(k[n]);
            table.Prefetch(ahead[i % kAhead][n]);
        }
    };
    for (std::size_t i = 0; i < kAhead; ++i)
        fetch(i);
    for (std::size_t i = 0; i < count; ++i) {
        const std::array<NameKinds::Hash, N> h = ahead[i % kAhead];
        fetch(i + kAhead);
        if (wanted(i))
            body(i, h);
    }
}

constexpr std::uint32_t kUntouched = 0xffffffff; // not selected, or the name does not change
constexpr std::uint32_t kUnsafe = 0xfffffffe;

} // namespace

std::vector<Foresight> ForesightReading::Foresee(const std::vector<std::string>& names,
                                                 const std::vector<bool>& selected,
                                                 const std::vector<std::string>& rows)
{
    // While the folder is still being read, every name the run meets gets its slot, the
    // current and the new name of each row; the folder's entries then only fill in kinds.
    const std::size_t last = std::min({rows.size(), names.size(), selected.size()});
    NameKinds state(2 * last); // at most two names a row
    std::vector<std::pair<std::uint32_t, std::uint32_t>> moves(last, {kUntouched, kUntouched});
    WithCellsAhead<2>(
        state, last, [&](std::size_t i) { return selected[i] && rows[i] != names[i]; },
        [&](std::size_t i) { return std::array<std::string_view, 2>{rows[i], names[i]}; },
        [&](std::size_t i, const std::array<NameKinds::Hash, 2>& h) {
            if (!IsSafeNewName(rows[i]))
                moves[i].first = kUnsafe;
            else
                moves[i] = {state.SlotOf(rows[i], h[0]), state.SlotOf(names[i], h[1])};
        });

    std::vector<Foresight> verdicts(rows.size(), Foresight::Fine);
    platform::FolderSnapshot s;
    try {
        s = folder_.get();
    } catch (const EFileError&) {
        // The trial run itself never needed the folder: it shows its rows without marks.
        return verdicts;
    }
    WithCellsAhead<1>(
        state, s.Entries.size(), [](std::size_t) { return true; },
        [&](std::size_t i) { return std::array<std::string_view, 1>{s.Entries[i].Name}; },
        [&](std::size_t i, const std::array<NameKinds::Hash, 1>& h) {
            if (const auto slot = state.Find(s.Entries[i].Name, h[0]))
                state[*slot] = s.Entries[i].Kind;
        });

    for (std::size_t i = 0; i < last; ++i) {
        const auto [to, from] = moves[i];
        if (to == kUntouched)
            continue;
        if (to == kUnsafe) {
            verdicts[i] = Foresight::Refused;
            continue;
        }
        // Renaming without replacing succeeds exactly when the file is still there, nothing at
        // all holds the new name, the name fits and the folder may be changed.
        if (state[to] == kAbsent && state[from] != kAbsent && rows[i].size() <= s.NameMax &&
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
    return ForesightReading(folder).Foresee(names, selected, rows);
}
