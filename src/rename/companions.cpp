#include "rename/companions.h"

#include "base/ascii.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
#include <bit>
#include <functional>
#include <utility>

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

enum class Kind : std::uint8_t { None, Raw, Sidecar, Xmp };

constexpr std::uint32_t Code(const char (&e)[4])
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(e[0])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(e[1])) << 8 |
           static_cast<unsigned char>(e[2]);
}

constexpr std::array kRaw = {
    Code("3fr"), Code("arw"), Code("cr2"), Code("cr3"), Code("crw"), Code("dcr"), Code("dng"),
    Code("erf"), Code("iiq"), Code("k25"), Code("kdc"), Code("mef"), Code("mos"), Code("mrw"),
    Code("nef"), Code("nrw"), Code("orf"), Code("pef"), Code("raf"), Code("raw"), Code("rw2"),
    Code("rwl"), Code("sr2"), Code("srf"), Code("srw"), Code("x3f"),
};
// Sidecars, with a phone's live-photo movie and its record of edits.
constexpr std::array kSidecar = {Code("thm"), Code("pp3"), Code("dop"), Code("mov"), Code("aae")};

// What an extension (without its dot) makes of a file: every companion extension has three
// characters, compared in any ASCII letter case.
Kind KindOf(std::string_view ext)
{
    if (ext.size() != 3)
        return Kind::None;
    std::uint32_t code = 0;
    for (const char c : ext)
        code = code << 8 | AsciiLower(static_cast<unsigned char>(c));
    if (code == Code("xmp"))
        return Kind::Xmp;
    if (std::find(kRaw.begin(), kRaw.end(), code) != kRaw.end())
        return Kind::Raw;
    if (std::find(kSidecar.begin(), kSidecar.end(), code) != kSidecar.end())
        return Kind::Sidecar;
    return Kind::None;
}

// The files with a companion extension that share one base name, and what the selection says
// about them.
struct Base {
    std::uint32_t First = kNone, Last = kNone; // the files, linked in list order
    std::uint32_t SelectedOthers = 0;          // selected files of this base name that are no companions
    std::uint64_t Best = std::numeric_limits<std::uint64_t>::max(); // the first selected one of them
    bool NamedWhole = false;                   // a selected file's whole name is this base name
};

// Base names to their entries: open addressing over one flat array that points at the
// names where they are, made for a known number of names. A node per name, as the standard
// map makes, costs more than all the rest of the grouping.
class BaseIndex {
public:
    explicit BaseIndex(std::size_t most) : cells_(std::bit_ceil(most * 2 + 16)), mask_(cells_.size() - 1) {}

    // The entry of name, made as count when there is none yet.
    std::uint32_t Add(std::string_view name, std::uint32_t count)
    {
        Cell& c = CellOf(name);
        if (c.value == kNone)
            c = {name.data(), static_cast<std::uint32_t>(name.size()), count};
        return c.value;
    }
    std::uint32_t Find(std::string_view name) const { return CellOf(name).value; }

private:
    struct Cell {
        const char* data = nullptr;
        std::uint32_t size = 0;
        std::uint32_t value = kNone;
    };
    Cell& CellOf(std::string_view name) const
    {
        for (std::size_t i = std::hash<std::string_view>{}(name) & mask_;; i = (i + 1) & mask_) {
            Cell& c = cells_[i];
            if (c.value == kNone || std::string_view(c.data, c.size) == name)
                return c;
        }
    }
    mutable std::vector<Cell> cells_;
    std::size_t mask_;
};

std::string_view BaseName(std::string_view name, std::size_t dot)
{
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

} // namespace

FileGroups SingleFiles(const std::vector<bool>& selected)
{
    FileGroups groups;
    const auto count = static_cast<std::size_t>(std::count(selected.begin(), selected.end(), true));
    groups.Rows.reserve(count);
    groups.Starts.reserve(count + 1);
    for (std::size_t i = 0; i < selected.size(); ++i) {
        if (!selected[i])
            continue;
        groups.Rows.push_back(static_cast<std::uint32_t>(i));
        groups.Starts.push_back(static_cast<std::uint32_t>(groups.Rows.size()));
        groups.RowEnd = i + 1;
    }
    return groups;
}

FileGroups PhotosWithCompanions(const std::vector<std::string>& names, const std::vector<bool>& selected)
{
    const std::size_t n = names.size();
    const auto isSelected = [&](std::size_t i) { return i < selected.size() && selected[i]; };

    // Every file with a companion extension, filed under its base name. One hash lookup per
    // file and name keeps 100,000 files to a few milliseconds.
    std::vector<Kind> kind(n, Kind::None);
    std::vector<std::uint32_t> baseOf(n, kNone), next(n, kNone);
    std::size_t candidates = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view name = names[i];
        const std::size_t dot = name.rfind('.');
        if (dot != std::string_view::npos && (kind[i] = KindOf(name.substr(dot + 1))) != Kind::None)
            ++candidates;
    }
    if (candidates == 0)
        return SingleFiles(selected);
    std::vector<Base> bases;
    BaseIndex index(candidates);
    for (std::size_t i = 0; i < n; ++i) {
        if (kind[i] == Kind::None)
            continue;
        const std::uint32_t b = index.Add(BaseName(names[i], names[i].rfind('.')), static_cast<std::uint32_t>(bases.size()));
        if (b == bases.size())
            bases.emplace_back();
        (bases[b].First == kNone ? bases[b].First : next[bases[b].Last]) = static_cast<std::uint32_t>(i);
        bases[b].Last = static_cast<std::uint32_t>(i);
        baseOf[i] = b;
    }

    // The extensions of the base names of ".xmp" sidecars: only a name that ends in one of
    // them can be named by its whole name plus ".xmp". Few of them in any folder; past a
    // handful every name is looked up.
    std::vector<std::string_view> wholeExts;
    bool everyWhole = false;
    for (std::size_t i = 0; i < n && !everyWhole; ++i) {
        if (kind[i] != Kind::Xmp)
            continue;
        const std::string_view base = BaseName(names[i], names[i].rfind('.'));
        const std::size_t dot = base.rfind('.');
        const std::string_view ext = dot == std::string_view::npos ? std::string_view() : base.substr(dot);
        if (std::find(wholeExts.begin(), wholeExts.end(), ext) == wholeExts.end())
            wholeExts.push_back(ext);
        everyWhole = wholeExts.size() > 8;
    }
    const auto mayBeNamedWhole = [&](std::string_view name, std::size_t dot) {
        return everyWhole || std::find(wholeExts.begin(), wholeExts.end(), name.substr(dot)) != wholeExts.end();
    };

    // A RAW file before a sidecar, then list order: which of two files that name each other
    // is the photo.
    const auto rankOf = [&](std::size_t i) {
        return (kind[i] == Kind::Raw ? 0 : std::uint64_t{n}) + i;
    };
    // The base names each selected file names companions by: its own base name, and its whole
    // name for ".xmp" sidecars.
    std::vector<std::uint32_t> sameBase(n, kNone), wholeBase(n, kNone);
    for (std::size_t i = 0; i < n; ++i) {
        if (!isSelected(i))
            continue;
        const std::string_view name = names[i];
        const std::size_t dot = name.rfind('.');
        if (kind[i] != Kind::None) {
            sameBase[i] = baseOf[i];
            bases[baseOf[i]].Best = std::min(bases[baseOf[i]].Best, rankOf(i));
        } else if (const std::uint32_t b = index.Find(BaseName(name, dot)); b != kNone) {
            sameBase[i] = b;
            ++bases[b].SelectedOthers;
        }
        if (dot == std::string_view::npos || !mayBeNamedWhole(name, dot))
            continue; // its whole name is its base name, or no sidecar's base name
        if (const std::uint32_t b = index.Find(name); b != kNone) {
            wholeBase[i] = b;
            bases[b].NamedWhole = true;
        }
    }

    std::vector<bool> photo(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        if (!isSelected(i))
            continue;
        if (kind[i] == Kind::None) {
            photo[i] = true;
            continue;
        }
        const Base& b = bases[baseOf[i]];
        photo[i] = b.SelectedOthers == 0 && b.Best == rankOf(i) && !(kind[i] == Kind::Xmp && b.NamedWhole);
    }

    // A RAW file that goes with a photo takes the ".xmp" sidecars of its whole name along:
    // editors keep a RAW file's edits there. Such a sidecar is then no photo of its own. Only
    // the base names the sidecars have are looked up, as above.
    std::vector<std::uint32_t> rawWhole;
    if (!wholeExts.empty()) {
        std::vector<bool> named(bases.size(), false); // a photo takes the files of this base name
        for (std::size_t i = 0; i < n; ++i)
            if (photo[i] && sameBase[i] != kNone)
                named[sameBase[i]] = true;
        rawWhole.assign(n, kNone);
        std::vector<std::pair<std::uint32_t, std::uint32_t>> raws; // name length, row
        for (std::size_t i = 0; i < n; ++i) {
            if (kind[i] != Kind::Raw || photo[i] || !mayBeNamedWhole(names[i], names[i].rfind('.')))
                continue;
            if ((rawWhole[i] = index.Find(names[i])) != kNone)
                raws.emplace_back(static_cast<std::uint32_t>(names[i].size()), static_cast<std::uint32_t>(i));
        }
        // Shortest names first: a sidecar that stops being a photo may have been all that took
        // the files of its base name, a longer RAW file's among them.
        std::sort(raws.begin(), raws.end());
        for (const auto& [size, r] : raws) {
            if (!named[baseOf[r]]) {
                rawWhole[r] = kNone;
                continue;
            }
            for (std::uint32_t c = bases[rawWhole[r]].First; c != kNone; c = next[c]) {
                if (kind[c] == Kind::Xmp && photo[c]) {
                    photo[c] = false;
                    named[rawWhole[r]] = false; // it was the only photo of its base name
                }
            }
        }
    }

    FileGroups groups;
    groups.Rows.reserve(n);
    std::vector<bool> claimed(n, false);
    std::vector<std::uint32_t> members;
    std::size_t end = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!photo[i])
            continue;
        members.clear();
        const auto claim = [&](std::uint32_t base, bool xmpOnly) {
            for (std::uint32_t c = bases[base].First; c != kNone; c = next[c]) {
                if (c != i && !claimed[c] && !photo[c] && (!xmpOnly || kind[c] == Kind::Xmp)) {
                    claimed[c] = true;
                    members.push_back(c);
                }
            }
        };
        if (sameBase[i] != kNone)
            claim(sameBase[i], false);
        const std::size_t fromSame = members.size();
        if (wholeBase[i] != kNone)
            claim(wholeBase[i], true);
        const std::size_t fromWhole = members.size();
        for (std::size_t m = 0; m < fromSame && !rawWhole.empty(); ++m)
            if (rawWhole[members[m]] != kNone)
                claim(rawWhole[members[m]], true);
        // Back to list order: each claim is in it already, the few members of a group are not.
        if (members.size() == fromWhole)
            std::inplace_merge(members.begin(), members.begin() + static_cast<std::ptrdiff_t>(fromSame), members.end());
        else
            std::sort(members.begin(), members.end());
        groups.Rows.push_back(static_cast<std::uint32_t>(i));
        groups.Rows.insert(groups.Rows.end(), members.begin(), members.end());
        groups.Starts.push_back(static_cast<std::uint32_t>(groups.Rows.size()));
        end = std::max<std::size_t>({end, i + 1, members.empty() ? 0 : members.back() + 1});
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (isSelected(i) && !photo[i] && !claimed[i]) {
            groups.Left.push_back(static_cast<std::uint32_t>(i));
            end = std::max(end, i + 1);
        }
    }
    groups.RowEnd = end;
    return groups;
}

FileGroups GroupFiles(const std::vector<std::string>& names, const std::vector<bool>& selected,
                      bool companions)
{
    return companions ? PhotosWithCompanions(names, selected) : SingleFiles(selected);
}

bool IsRawExtension(std::string_view ext)
{
    return KindOf(ext) == Kind::Raw;
}
