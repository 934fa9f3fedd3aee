#include "rename/foresight.h"

#include "base/casefold.h"
#include "base/errors.h"
#include "base/utf8.h"
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

// Added to the kind of an entry that is there but may not be renamed (marked immutable or
// append-only, or someone else's in a sticky folder).
constexpr unsigned char kLocked = 0x10;

EntryKind KindOf(EntryKind k)
{
    return static_cast<EntryKind>(static_cast<unsigned char>(k) & ~kLocked);
}

// Every name the run meets, each with what the folder holds under it. Open addressing over
// one flat array of cells that carry the name itself: 100,000 names cost no allocation each,
// and a lookup touches one cell and the name's bytes. The names stay where they are (the
// list, the rows, or their folded copies), which outlive the table. Made for a known number of
// names, it never grows, so a slot stays valid for the whole run.
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
            if (c.tag == tag && std::string_view(c.data, c.size) == name)
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
            if (c.tag == tag && std::string_view(c.data, c.size) == name)
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
template <std::size_t N, typename Table, typename Wanted, typename Keys, typename Body>
void WithCellsAhead(const Table& table, std::size_t count, Wanted wanted, Keys keys, Body body)
{
    constexpr std::size_t kAhead = 8;
    std::array<std::array<std::uint64_t, N>, kAhead> ahead{};
    const auto fetch = [&](std::size_t i) {
        if (i >= count || !wanted(i))
            return;
        const std::array<std::string_view, N> k = keys(i);
        for (std::size_t n = 0; n < N; ++n) {
            ahead[i % kAhead][n] = Table::HashOf(k[n]);
            table.Prefetch(ahead[i % kAhead][n]);
        }
    };
    for (std::size_t i = 0; i < kAhead; ++i)
        fetch(i);
    for (std::size_t i = 0; i < count; ++i) {
        const std::array<std::uint64_t, N> h = ahead[i % kAhead];
        fetch(i + kAhead);
        if (wanted(i))
            body(i, h);
    }
}

constexpr std::uint32_t kUntouched = 0xffffffff; // not selected, or the name does not change
constexpr std::uint32_t kUnsafe = 0xfffffffe;

} // namespace

namespace {

// Names as the folder compares them: on a folder that folds letter case, folded (Ä and ä,
// IMG and img are one entry there), else the bytes themselves.
template <bool Fold>
class Keys {
public:
    // The keys of names, which outlive this: folded copies kept here, or the names themselves.
    explicit Keys(const std::vector<std::string>& names) : names_(names)
    {
        if constexpr (Fold) {
            folded_.reserve(names.size());
            for (const std::string& n : names)
                folded_.push_back(FoldedCase(n));
        }
    }
    std::string_view operator[](std::size_t i) const
    {
        if constexpr (Fold)
            return folded_[i];
        else
            return names_[i];
    }

private:
    const std::vector<std::string>& names_;
    std::vector<std::string> folded_;
};

// Whether the new name fits the longest name the folder's file system takes.
bool Fits(const std::string& name, const platform::FolderSnapshot& s)
{
    return (s.NameMaxInUtf16 ? Utf16Length(name) : name.size()) <= s.NameMax;
}

// The slots of the names each file of a group moves between, in the order of the groups,
// made while the folder is still being read: every name the run meets, the current and the
// new name of each file.
template <bool Fold>
struct Plan {
    Keys<Fold> nameKeys, rowKeys;
    NameKinds state;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> moves; // {new, current}

    Plan(const std::vector<std::string>& names, const FileGroups& groups,
         const std::vector<std::string>& rows)
        : nameKeys(names), rowKeys(rows), state(2 * groups.Rows.size()),
          moves(groups.Rows.size(), {kUntouched, kUntouched}) // at most two names a file
    {
        const std::vector<std::uint32_t>& order = groups.Rows;
        WithCellsAhead<2>(
            state, order.size(),
            [&](std::size_t j) { return order[j] < rows.size() && rows[order[j]] != names[order[j]]; },
            [&](std::size_t j) { return std::array<std::string_view, 2>{rowKeys[order[j]], nameKeys[order[j]]}; },
            [&](std::size_t j, const std::array<std::uint64_t, 2>& h) {
                const std::size_t i = order[j];
                if (!IsSafeNewName(rows[i]))
                    moves[j].first = kUnsafe;
                else
                    moves[j] = {state.SlotOf(rowKeys[i], h[0]), state.SlotOf(nameKeys[i], h[1])};
            });
    }
};

template <bool Fold>
std::vector<Foresight> Replay(Plan<Fold>& plan, const platform::FolderSnapshot& s,
                              const FileGroups& groups, const std::vector<std::string>& rows)
{
    NameKinds& state = plan.state;
    // On a folder that folds case, the entries' names folded as the plan's are.
    std::vector<std::string> folded;
    if constexpr (Fold) {
        folded.reserve(s.Entries.size());
        for (const platform::FolderEntry& e : s.Entries)
            folded.push_back(FoldedCase(e.Name));
    }
    const auto entryKey = [&](std::size_t i) -> std::string_view {
        if constexpr (Fold)
            return folded[i];
        else
            return s.Entries[i].Name;
    };
    WithCellsAhead<1>(
        state, s.Entries.size(), [](std::size_t) { return true; },
        [&](std::size_t i) { return std::array<std::string_view, 1>{entryKey(i)}; },
        [&](std::size_t i, const std::array<std::uint64_t, 1>& h) {
            if (const auto slot = state.Find(entryKey(i), h[0]))
                state[*slot] = static_cast<EntryKind>(static_cast<unsigned char>(s.Entries[i].Kind) |
                                                      (s.Entries[i].Locked ? kLocked : 0));
        });

    std::vector<Foresight> verdicts(rows.size(), Foresight::Fine);
    std::vector<std::pair<std::uint32_t, EntryKind>> changed; // cells of the group so far, as they were
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::size_t begin = groups.Starts[g], end = groups.Starts[g + 1];
        std::size_t failed = end;
        Foresight why = Foresight::Refused;
        // A name that is never used stops the group before the disk is touched.
        for (std::size_t j = begin; j < end && failed == end; ++j)
            if (plan.moves[j].first == kUnsafe)
                failed = j;
        changed.clear();
        for (std::size_t j = begin; j < end && failed == end; ++j) {
            const auto [to, from] = plan.moves[j];
            if (to == kUntouched)
                continue;
            const std::string& row = rows[groups.Rows[j]];
            if (s.FatNames && platform::FatRefusesName(row)) {
                failed = j;
                break;
            }
            // Renaming without replacing succeeds exactly when the file is still there and may
            // be moved, nothing else holds the new name, the name fits and the folder may be
            // changed. On a folder that folds case, a new name that differs in letter case only
            // (any letter: Ä and ä too) finds the file itself, which takes the new bytes.
            const EntryKind mine = state[from];
            const bool movable = mine != kAbsent && (static_cast<unsigned char>(mine) & kLocked) == 0 &&
                                 Fits(row, s) && s.Writable;
            if (movable && (to == from || state[to] == kAbsent)) {
                changed.emplace_back(from, mine);
                changed.emplace_back(to, state[to]);
                state[from] = kAbsent;
                state[to] = mine;
                continue;
            }
            // A failed rename is reported only when another file (links followed) holds the name.
            const EntryKind there = to == from ? kAbsent : state[to];
            why = there != kAbsent && KindOf(there) == EntryKind::File ? Foresight::Taken : Foresight::Refused;
            failed = j;
        }
        if (failed == end)
            continue;
        // The group goes back to its old names.
        for (std::size_t k = changed.size(); k-- > 0;)
            state[changed[k].first] = changed[k].second;
        for (std::size_t j = begin; j < end; ++j)
            if (groups.Rows[j] < verdicts.size())
                verdicts[groups.Rows[j]] = j == failed ? why : Foresight::CompanionBlocked;
    }
    return verdicts;
}

} // namespace

std::vector<Foresight> ForesightReading::Foresee(const std::vector<std::string>& names,
                                                 const std::vector<bool>& selected,
                                                 const std::vector<std::string>& rows)
{
    return Foresee(names, SingleFiles(selected), rows);
}

std::vector<Foresight> ForesightReading::Foresee(const std::vector<std::string>& names,
                                                 const FileGroups& groups,
                                                 const std::vector<std::string>& rows)
{
    Plan<false> plan(names, groups, rows);
    platform::FolderSnapshot s;
    try {
        s = folder_.get();
    } catch (const EFileError&) {
        // The trial run itself never needed the folder: it shows its rows without marks.
        return std::vector<Foresight>(rows.size(), Foresight::Fine);
    }
    if (!s.FoldsCase)
        return Replay(plan, s, groups, rows);
    // Folders that fold case are camera cards, small beside the folders the plan was made
    // ahead for: planning again with folded names costs little there.
    Plan<true> folded(names, groups, rows);
    return Replay(folded, s, groups, rows);
}

std::vector<Foresight> ForeseeRenamesIn(const std::string& folder,
                                        const std::vector<std::string>& names,
                                        const std::vector<bool>& selected,
                                        const std::vector<std::string>& rows)
{
    return ForesightReading(folder).Foresee(names, selected, rows);
}

std::vector<Foresight> ForeseeRenamesIn(const std::string& folder,
                                        const std::vector<std::string>& names,
                                        const FileGroups& groups,
                                        const std::vector<std::string>& rows)
{
    return ForesightReading(folder).Foresee(names, groups, rows);
}
