#include "rename/undo.h"

#include "base/errors.h"
#include "platform/filesystem.h"
#include "platform/statefile.h"
#include "rename/texthelpers.h"

namespace {
// Far above any folder's record, but a bound all the same.
constexpr std::size_t kMaxRecordBytes = std::size_t{1} << 30;
} // namespace

std::string UndoRecordPath()
{
    const std::string folder = platform::ProgramStateFolder();
    return folder.empty() ? std::string() : folder + "/last-execution.undo";
}

std::optional<UndoRecord> LoadUndoRecord()
{
    const std::string path = UndoRecordPath();
    if (path.empty())
        return std::nullopt;
    const std::optional<std::string> bytes = platform::ReadFileIfPresent(path, kMaxRecordBytes);
    if (!bytes)
        return std::nullopt;
    return DecodeUndoRecord(*bytes);
}

bool RemoveUndoRecord()
{
    const std::string path = UndoRecordPath();
    return path.empty() || platform::RemoveFileDurably(path);
}

void ExecutionRecord::Save(const UndoRecord& planned)
{
    saving_ = true;
    const std::string path = UndoRecordPath();
    if (path.empty())
        return;
    previous_ = platform::ReadFileIfPresent(path, kMaxRecordBytes);
    try {
        platform::WriteFileDurably(path, EncodeUndoRecord(planned));
    } catch (const EFileError&) {
        platform::RemoveFileDurably(path);
    }
}

ExecutionRecord::~ExecutionRecord()
{
    if (!saving_ || renamed_ > 0)
        return;
    const std::string path = UndoRecordPath();
    if (path.empty())
        return;
    try {
        if (previous_)
            platform::WriteFileDurably(path, *previous_);
        else
            platform::RemoveFileDurably(path);
    } catch (...) {
        // What can't be put back must not stand in for it.
        platform::RemoveFileDurably(path);
    }
}

int UndoRenames(const UndoRecord& record, const UndoHooks& hooks)
{
    platform::CheckFolderEnterable(record.Folder);
    const platform::FolderHandle folder(record.Folder);
    const std::string prefix = FolderPrefix(record.Folder);
    const int t = static_cast<int>(record.Entries.size());
    int restored = 0;
    // Backwards, so a chain of renames (01 -> 00, 02 -> 01) frees each old name before it is
    // needed again.
    for (int k = t - 1; k >= 0; --k) {
        if (hooks.Progress)
            hooks.Progress(t - k, t);
        const UndoEntry& e = record.Entries[static_cast<std::size_t>(k)];
        const auto id = folder.IdentityOf(e.NewName);
        if (!id || *id != platform::FileIdentity{e.Device, e.Inode})
            continue;
        if (folder.RenameNoReplace(e.NewName, e.OldName) == platform::RenameResult::Renamed)
            ++restored;
        else if (folder.IdentityOf(e.OldName) && hooks.ReportTaken)
            hooks.ReportTaken(prefix + e.OldName);
    }
    return restored;
}
