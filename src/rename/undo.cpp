#include "rename/undo.h"

#include "base/errors.h"
#include "platform/filesystem.h"
#include "platform/statefile.h"
#include "rename/texthelpers.h"
#include "rename/undorepair.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <random>
#include <unordered_set>

namespace {
// Far above any folder's record, but a bound all the same.
constexpr std::size_t kMaxRecordBytes = std::size_t{1} << 30;

// The bytes of a record this program made unusable but could not remove nor empty: while the
// file still holds them, it is no record.
std::optional<std::string>& Voided()
{
    static std::optional<std::string> bytes;
    return bytes;
}

std::string LockPath()
{
    const std::string folder = platform::ProgramStateFolder();
    return folder.empty() ? std::string() : folder + "/last-execution.lock";
}

std::string RunningPath()
{
    const std::string folder = platform::ProgramStateFolder();
    return folder.empty() ? std::string() : folder + "/last-execution.running";
}

// Where records this program took back but could not remove are remembered across starts:
// not the state folder, which is the one that failed.
std::string SpentPath()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? std::string() : data.toStdString() + "/pelkorin/spent-records";
}

std::string DigestText(const std::string& bytes)
{
    return QCryptographicHash::hash(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                    QCryptographicHash::Sha256)
               .toHex()
               .toStdString();
}

std::optional<std::string> SpentDigests()
{
    const std::string path = SpentPath();
    return path.empty() ? std::nullopt : platform::ReadFileIfPresent(path, 1 << 20);
}

bool IsSpent(const std::string& bytes)
{
    if (bytes == Voided())
        return true;
    const std::optional<std::string> spent = SpentDigests();
    return spent && spent->find(DigestText(bytes)) != std::string::npos;
}

std::optional<std::string> ReadRecordBytes(const std::string& path)
{
    return platform::ReadFileIfPresent(path, kMaxRecordBytes);
}

// Makes the file hold bytes (none: no file), by whatever way the state folder allows.
bool PutOnDisk(const std::string& path, const std::optional<std::string>& bytes, bool fileExists)
{
    if (!bytes)
        return platform::RemoveFileDurably(path) || (fileExists && platform::OverwriteFileInPlace(path, ""));
    try {
        platform::WriteFileDurably(path, *bytes);
        return true;
    } catch (const EFileError&) {
        return fileExists && platform::OverwriteFileInPlace(path, *bytes);
    }
}
} // namespace

std::string UndoRecordPath()
{
    const std::string folder = platform::ProgramStateFolder();
    return folder.empty() ? std::string() : folder + "/last-execution.undo";
}

std::optional<UndoRecord> LoadUndoRecord(std::string* bytesOut, std::chrono::milliseconds wait)
{
    const std::string path = UndoRecordPath();
    if (path.empty())
        return std::nullopt;
    std::optional<std::string> bytes;
    {
        const platform::StateLock lock(LockPath(), false, wait);
        // Every writer holds the lock while its temporary file exists; without the lock, a
        // temporary file may be another program's in the making.
        if (lock.held())
            platform::RemoveLeftoverTemporaries(path);
        bytes = ReadRecordBytes(path);
    }
    if (!bytes || IsSpent(*bytes))
        return std::nullopt;
    std::optional<UndoRecord> record = DecodeUndoRecord(*bytes);
    if (record && bytesOut)
        *bytesOut = std::move(*bytes);
    return record;
}

bool RemoveUndoRecord()
{
    const std::string path = UndoRecordPath();
    return path.empty() || platform::RemoveFileDurably(path);
}

bool ReplaceUndoRecord(const std::string& expected, const std::optional<UndoRecord>& next)
{
    const std::string path = UndoRecordPath();
    if (path.empty())
        return false;
    const platform::StateLock lock(LockPath(), false);
    const std::optional<std::string> current = ReadRecordBytes(path);
    if (current != expected)
        return false;
    return PutOnDisk(path, next ? std::optional<std::string>(EncodeUndoRecord(*next)) : std::nullopt, true);
}

void MarkRecordSpent(const std::string& bytes)
{
    Voided() = bytes;
    const std::string path = SpentPath();
    if (path.empty())
        return;
    // The last few are enough: only a record still on disk matters.
    std::string digests = SpentDigests().value_or(std::string());
    const std::size_t line = 65;
    if (digests.size() >= 32 * line)
        digests.erase(0, digests.size() - 31 * line);
    try {
        platform::WriteFileDurably(path, digests + DigestText(bytes) + "\n");
    } catch (const EFileError&) {
        // this session still knows it
    }
}

platform::StateLock LockRecords()
{
    return platform::StateLock(LockPath(), true);
}

bool MarkRunStarted()
{
    const std::string path = RunningPath();
    return !path.empty() && platform::SetMark(path, true);
}

void MarkRunEnded()
{
    if (const std::string path = RunningPath(); !path.empty())
        platform::SetMark(path, false);
}

bool RunWasCut()
{
    const std::string path = RunningPath();
    return !path.empty() && platform::KindOfOwnFile(path) == platform::OwnFileKind::Regular;
}

RecordSave ExecutionRecord::Save(const UndoRecord& planned)
{
    saving_ = true;
    const std::string path = UndoRecordPath();
    if (path.empty())
        return RecordSave::Unwritten;
    const std::string bytes = EncodeUndoRecord(planned);
    // Held until the run ends, so no other program's execution or undo runs among its renames.
    lock_.emplace(LockPath(), true);
    if (lock_->busy()) {
        saving_ = false;
        return RecordSave::Busy;
    }
    const std::optional<std::string> onDisk = ReadRecordBytes(path);
    // A record made unusable before is none: it must never be put back.
    previous_ = onDisk == Voided() ? std::nullopt : onDisk;
    try {
        platform::WriteFileDurably(path, bytes);
        left_ = bytes;
        // Without the mark a crash among the renames would go unnoticed at the next start;
        // the record itself still holds, so the run goes on.
        MarkRunStarted();
        return RecordSave::Saved;
    } catch (const EFileError&) {
    }
    // The record before this execution must not be undone after it, in whatever folder.
    if (!onDisk || platform::RemoveFileDurably(path)) {
        left_.reset();
        return RecordSave::Unwritten;
    }
    if (platform::OverwriteFileInPlace(path, "")) {
        left_ = std::string();
        return RecordSave::Unwritten;
    }
    left_ = onDisk;
    Voided() = onDisk;
    return RecordSave::UnwrittenOldRemains;
}

ExecutionRecord::~ExecutionRecord()
{
    if (!saving_)
        return;
    MarkRunEnded();
    if (renamed_ > 0)
        return;
    const std::string path = UndoRecordPath();
    if (path.empty())
        return;
    const platform::StateLock lock(LockPath(), false);
    const std::optional<std::string> current = ReadRecordBytes(path);
    // Another program executed meanwhile: its record is the newer one.
    if (current != left_)
        return;
    if (current == previous_ || PutOnDisk(path, previous_, current.has_value())) {
        // Nothing was renamed, so the record before describes the folder again.
        if (Voided() == previous_)
            Voided().reset();
    } else if (left_ != previous_) {
        // What can't be put back must not stand in for it.
        PutOnDisk(path, std::nullopt, current.has_value());
    }
}

namespace {
// The folder at the record's path must be the execution's own, not one made in its place.
// Where inode numbers do not last, a folder on such a disk at the same path is the one.
void CheckSameFolder(const platform::FolderHandle& folder, const UndoRecord& record)
{
    if (record.FolderInode == 0)
        return; // a record of the first format does not know it
    const auto id = folder.Identity();
    const bool same = id && (record.LooseIdentity && folder.LooseIdentity()
                                 ? record.FolderBirth == 0 || id->Birth == 0 || id->Birth == record.FolderBirth
                                 : id->IsSameFileAs({record.FolderDevice, record.FolderInode, record.FolderBirth}));
    if (!same)
        throw EFileError(FileErrorMessage("フォルダを開けません", record.Folder, ENOENT));
}
} // namespace

void RepairCutRunAtStart()
{
    // Only a short wait: a run under way in another program holds the lock, and its mark is
    // its own.
    const platform::StateLock lock(LockPath(), false, std::chrono::milliseconds(100));
    if (!lock.held() || !RunWasCut())
        return;
    const std::optional<UndoRecord> record = LoadUndoRecord();
    if (!record) {
        MarkRunEnded();
        return;
    }
    try {
        platform::CheckFolderEnterable(record->Folder);
        const platform::FolderHandle folder(record->Folder);
        CheckSameFolder(folder, *record);
        std::vector<std::string> names = folder.AllNames();
        std::unordered_set<std::string> listed(std::make_move_iterator(names.begin()),
                                               std::make_move_iterator(names.end()));
        const bool loose = record->LooseIdentity || folder.LooseIdentity();
        if (RepairCutRun(folder, *record, loose, listed, {}).Stuck.empty())
            MarkRunEnded();
    } catch (const EFileError&) {
        // not reachable now: the undo looks again
    }
}

void CheckUndoFolder(const UndoRecord& record)
{
    platform::CheckFolderEnterable(record.Folder);
    CheckSameFolder(platform::FolderHandle(record.Folder), record);
}

UndoOutcome UndoRenames(const UndoRecord& record, const UndoHooks& hooks)
{
    platform::CheckFolderEnterable(record.Folder);
    const platform::FolderHandle folder(record.Folder, hooks.Ways);
    // The handle's own folder, so that a folder swapped in after CheckUndoFolder is caught too.
    CheckSameFolder(folder, record);
    const std::string prefix = FolderPrefix(record.Folder);
    const int t = static_cast<int>(record.Entries.size());
    const bool loose = record.LooseIdentity || folder.LooseIdentity();
    UndoOutcome outcome;
    // Where a cut run may have left files under temporary names, and on disks that fold letter
    // case without telling names apart by number, the folder is listed once: a file is under
    // its new name only where the folder lists that exact name.
    std::optional<std::unordered_set<std::string>> listed;
    std::vector<bool> stuck;
    if (hooks.Repair || loose) {
        std::vector<std::string> names = folder.AllNames();
        listed.emplace(std::make_move_iterator(names.begin()), std::make_move_iterator(names.end()));
        RepairOutcome repaired = RepairCutRun(folder, record, loose, *listed, [&](const std::string& oldName) {
            if (hooks.ReportTaken)
                hooks.ReportTaken(prefix + oldName);
        });
        outcome.Restored += repaired.Restored;
        stuck = std::move(repaired.Stuck);
    }
    // Backwards, so a chain of renames (01 -> 00, 02 -> 01) frees each old name before it is
    // needed again.
    for (int k = t - 1; k >= 0; --k) {
        if (hooks.Progress)
            hooks.Progress(t - k, t);
        const auto i = static_cast<std::size_t>(k);
        const UndoEntry& e = record.Entries[i];
        if (!stuck.empty() && stuck[i]) {
            outcome.Left.push_back(e);
            continue;
        }
        if (listed && !listed->count(e.NewName))
            continue;
        const auto id = folder.IdentityOf(e.NewName);
        if (!id || !IsRecordedFile(*id, e, loose))
            continue;
        const platform::RenameResult r = folder.RenameNoReplace(e.NewName, e.OldName, TemporaryStemOf(record, i));
        if (r == platform::RenameResult::Renamed) {
            ++outcome.Restored;
            if (listed) {
                listed->erase(e.NewName);
                listed->insert(e.OldName);
            }
            continue;
        }
        outcome.Left.push_back(e);
        if (folder.IdentityOf(e.OldName) && hooks.ReportTaken)
            hooks.ReportTaken(prefix + e.OldName);
    }
    std::reverse(outcome.Left.begin(), outcome.Left.end());
    return outcome;
}
