#include "rename/undo.h"

#include "base/errors.h"
#include "platform/filesystem.h"
#include "platform/statefile.h"
#include "rename/texthelpers.h"

#include <algorithm>
#include <cerrno>

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

std::optional<UndoRecord> LoadUndoRecord(std::string* bytesOut)
{
    const std::string path = UndoRecordPath();
    if (path.empty())
        return std::nullopt;
    std::optional<std::string> bytes;
    {
        const platform::StateLock lock(LockPath(), false);
        // Every writer holds the lock while its temporary file exists; without the lock, a
        // temporary file may be another program's in the making.
        if (lock.held())
            platform::RemoveLeftoverTemporaries(path);
        bytes = ReadRecordBytes(path);
    }
    if (!bytes || bytes == Voided())
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

RecordSave ExecutionRecord::Save(const UndoRecord& planned)
{
    saving_ = true;
    const std::string path = UndoRecordPath();
    if (path.empty())
        return RecordSave::Unwritten;
    const std::string bytes = EncodeUndoRecord(planned);
    const platform::StateLock lock(LockPath(), true);
    const std::optional<std::string> onDisk = ReadRecordBytes(path);
    // A record made unusable before is none: it must never be put back.
    previous_ = onDisk == Voided() ? std::nullopt : onDisk;
    try {
        platform::WriteFileDurably(path, bytes);
        left_ = bytes;
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
    if (!saving_ || renamed_ > 0)
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
void CheckSameFolder(const platform::FolderHandle& folder, const UndoRecord& record)
{
    if (record.FolderInode == 0)
        return; // a record of the first format does not know it
    const auto id = folder.Identity();
    if (!id || !id->IsSameFileAs({record.FolderDevice, record.FolderInode, record.FolderBirth}))
        throw EFileError(FileErrorMessage("フォルダを開けません", record.Folder, ENOENT));
}
} // namespace

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
    UndoOutcome outcome;
    // Backwards, so a chain of renames (01 -> 00, 02 -> 01) frees each old name before it is
    // needed again.
    for (int k = t - 1; k >= 0; --k) {
        if (hooks.Progress)
            hooks.Progress(t - k, t);
        const UndoEntry& e = record.Entries[static_cast<std::size_t>(k)];
        const auto id = folder.IdentityOf(e.NewName);
        if (!id || !id->IsSameFileAs({e.Device, e.Inode, e.Birth}))
            continue;
        const platform::RenameResult r = folder.RenameNoReplace(e.NewName, e.OldName);
        if (r == platform::RenameResult::Renamed) {
            ++outcome.Restored;
            continue;
        }
        outcome.Left.push_back(e);
        if (folder.IdentityOf(e.OldName) && hooks.ReportTaken)
            hooks.ReportTaken(prefix + e.OldName);
    }
    std::reverse(outcome.Left.begin(), outcome.Left.end());
    return outcome;
}
