#include "rename/undorepair.h"

#include <charconv>
#include <map>
#include <optional>
#include <string_view>

namespace {
// FAT keeps modification times to 2 s, and a card's clock is the machine's.
constexpr int64_t kClockSlack = 2'000'000'000;

// The entry of a name "<stem of entry i>-<attempt>.tmp" of the record with this prefix.
std::optional<std::size_t> EntryOfTemporary(std::string_view name, std::string_view prefix)
{
    if (!name.starts_with(prefix) || !name.ends_with(".tmp"))
        return std::nullopt;
    name = name.substr(prefix.size(), name.size() - prefix.size() - 4);
    std::size_t index = 0;
    unsigned attempt = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), index);
    if (error != std::errc() || end == name.data() + name.size() || *end != '-')
        return std::nullopt;
    const auto [last, error2] = std::from_chars(end + 1, name.data() + name.size(), attempt);
    if (error2 != std::errc() || last != name.data() + name.size())
        return std::nullopt;
    return index;
}

// Only an empty regular file made since the run began can be a claim of this program's.
bool IsOwnClaim(const platform::FileIdentity& id, const UndoRecord& record)
{
    return id.Regular && id.Size == 0 && record.Began > 0 &&
           id.ModifiedNanos >= record.Began * 1'000'000'000 - kClockSlack;
}

class Repair {
public:
    Repair(const platform::FolderHandle& folder, const UndoRecord& record, bool loose,
           std::unordered_set<std::string>& listed)
        : folder_(folder), record_(record), loose_(loose), listed_(listed)
    {
    }

    // The claim under name goes when it is one and the entry's very file is not under it.
    void DropClaim(const std::string& name, const UndoEntry& e)
    {
        if (!listed_.count(name))
            return;
        const auto id = folder_.IdentityOf(name);
        if (id && IsOwnClaim(*id, record_) && !IsRecordedFile(*id, e, loose_) && folder_.RemoveFile(name))
            listed_.erase(name);
    }

    bool IsVeryFile(const std::string& name, const UndoEntry& e) const
    {
        const auto id = listed_.count(name) ? folder_.IdentityOf(name) : std::nullopt;
        return id && IsRecordedFile(*id, e, loose_);
    }

    // Moves a listed name to another, keeping the listing.
    bool Move(const std::string& from, const std::string& to, std::size_t i)
    {
        if (folder_.RenameNoReplace(from, to, TemporaryStemOf(record_, i)) != platform::RenameResult::Renamed)
            return false;
        listed_.erase(from);
        listed_.insert(to);
        return true;
    }

private:
    const platform::FolderHandle& folder_;
    const UndoRecord& record_;
    bool loose_;
    std::unordered_set<std::string>& listed_;
};
} // namespace

bool IsRecordedFile(const platform::FileIdentity& seen, const UndoEntry& e, bool loose)
{
    const bool knowsSize = e.Size != 0 || e.ModifiedNanos != 0;
    return seen.IsSameFileAs({e.Device, e.Inode, e.Birth, e.Size, e.ModifiedNanos, true}, loose && knowsSize);
}

platform::TemporaryStem TemporaryStemOf(const UndoRecord& record, std::size_t i)
{
    return {record.Token, i};
}

RepairOutcome RepairCutRun(const platform::FolderHandle& folder, const UndoRecord& record, bool loose,
                           std::unordered_set<std::string>& listed,
                           const std::function<void(const std::string& oldName)>& reportTaken)
{
    RepairOutcome outcome;
    if (record.Token == 0)
        return outcome; // older records name no temporary files and know no start
    const std::string stem0 = RunTemporaryStem(record.Token, 0);
    const std::string prefix = stem0.substr(0, stem0.size() - 1);
    std::map<std::size_t, std::vector<std::string>> temporaries;
    for (const std::string& name : listed)
        if (const auto i = EntryOfTemporary(name, prefix); i && *i < record.Entries.size())
            temporaries[*i].push_back(name);
    Repair repair(folder, record, loose, listed);
    for (auto& [i, names] : temporaries) {
        const UndoEntry& e = record.Entries[i];
        for (const std::string& temp : names) {
            const auto id = folder.IdentityOf(temp);
            if (!id)
                continue;
            if (!IsRecordedFile(*id, e, loose)) {
                // The claim of the temporary name itself, made before the file moved onto it.
                if (IsOwnClaim(*id, record) && folder.RemoveFile(temp))
                    listed.erase(temp);
                continue;
            }
            // Claims of the step after: the new name, or the old one on the way back.
            repair.DropClaim(e.NewName, e);
            repair.DropClaim(e.OldName, e);
            if (repair.Move(temp, e.OldName, i)) {
                ++outcome.Restored;
                outcome.Returned.push_back(i);
                continue;
            }
            outcome.Stuck.resize(record.Entries.size());
            outcome.Stuck[i] = true;
            if (folder.IdentityOf(e.OldName) && reportTaken)
                reportTaken(e.OldName);
        }
    }
    // A claim left beside a file that never moved, or that was on its way back.
    for (std::size_t i = 0; i < record.Entries.size(); ++i) {
        const UndoEntry& e = record.Entries[i];
        if (e.OldName == e.NewName || !listed.count(e.NewName) || !listed.count(e.OldName))
            continue;
        if (repair.IsVeryFile(e.OldName, e))
            repair.DropClaim(e.NewName, e);
        else if (repair.IsVeryFile(e.NewName, e))
            repair.DropClaim(e.OldName, e);
    }
    return outcome;
}
