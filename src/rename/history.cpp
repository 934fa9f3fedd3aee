#include "rename/history.h"

#include "base/errors.h"
#include "platform/filesystem.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDataStream>
#include <QIODevice>
#include <QStandardPaths>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <mutex>
#include <random>
#include <set>

namespace {
constexpr std::size_t kMaxRecordBytes = std::size_t{1} << 30;
constexpr std::size_t kSumSize = 32; // a record ends in its SHA-256 checksum
constexpr std::size_t kMaxSummaryBytes = 1 << 16;
const QByteArray kSummaryMagic("PELKHIST");
constexpr quint32 kSummaryVersion = 1;

// What a summary says beyond the item itself.
struct Summary {
    HistoryItem Item;
    std::string BackSum; // empty: no taken-back entries
};

std::string LegacyPath()
{
    const std::string folder = platform::ProgramStateFolder();
    return folder.empty() ? std::string() : folder + "/last-execution.undo";
}

std::string Path(const std::string& id, const char* kind)
{
    return HistoryFolder() + "/" + id + kind;
}

std::string BackPath(const HistoryItem& item) { return Path(item.Id, ".back"); }
std::string SummaryPath(const std::string& id) { return Path(id, ".summary"); }

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }
std::string Text(const QByteArray& b) { return std::string(b.constData(), static_cast<std::size_t>(b.size())); }

std::string EncodeSummary(const Summary& s)
{
    QByteArray body;
    {
        QDataStream out(&body, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out.writeRawData(kSummaryMagic.constData(), static_cast<int>(kSummaryMagic.size()));
        out << kSummaryVersion << Bytes(s.Item.Folder) << qint64(s.Item.Began) << quint64(s.Item.Renamed)
            << quint8(s.Item.State) << Bytes(s.Item.RecordSum) << Bytes(s.BackSum) << quint8(s.Item.Redoing);
    }
    body += QCryptographicHash::hash(body, QCryptographicHash::Sha256);
    return Text(body);
}

std::optional<Summary> DecodeSummary(const std::string& bytes, const std::string& id)
{
    if (bytes.size() < kSumSize + static_cast<std::size_t>(kSummaryMagic.size()))
        return std::nullopt;
    const QByteArray body = Bytes(bytes.substr(0, bytes.size() - kSumSize));
    if (QCryptographicHash::hash(body, QCryptographicHash::Sha256) != Bytes(bytes.substr(bytes.size() - kSumSize)) ||
        !body.startsWith(kSummaryMagic))
        return std::nullopt;
    QDataStream in(body.mid(kSummaryMagic.size()));
    in.setVersion(QDataStream::Qt_6_0);
    quint32 version = 0;
    QByteArray folder, recordSum, backSum;
    qint64 began = 0;
    quint64 renamed = 0;
    quint8 state = 0, redoing = 0;
    in >> version >> folder >> began >> renamed >> state >> recordSum >> backSum >> redoing;
    if (in.status() != QDataStream::Ok || version != kSummaryVersion || state > 2 || redoing > 1 || !folder.startsWith('/') ||
        recordSum.size() != static_cast<qsizetype>(kSumSize))
        return std::nullopt;
    Summary s;
    s.Item = {id, Text(folder), began, renamed, static_cast<TakenBack>(state), !backSum.isEmpty(), Text(recordSum),
              redoing == 1};
    s.BackSum = Text(backSum);
    return s;
}

std::string Tail(const std::string& bytes) { return bytes.substr(bytes.size() - kSumSize); }

std::string Hex(const std::string& bytes) { return Text(Bytes(bytes).toHex()); }

// Records this program took back but could not change: their checksums.
std::set<std::string>& Voided()
{
    static std::set<std::string> sums;
    return sums;
}

// Records found damaged on reading them whole: their checksums.
std::set<std::string>& Damaged()
{
    static std::set<std::string> sums;
    return sums;
}

// Not the state folder, which is the one that failed.
std::string SpentPath()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? std::string() : data.toStdString() + "/pelkorin/spent-records";
}

std::string SpentLines()
{
    const std::string path = SpentPath();
    return path.empty() ? std::string() : platform::ReadFileIfPresent(path, 1 << 20).value_or(std::string());
}

void RememberSpent(const std::string& hex)
{
    const std::string path = SpentPath();
    if (path.empty())
        return;
    // The last few are enough: only a record still on disk matters.
    std::string lines = SpentLines();
    const std::size_t line = 65;
    if (lines.size() >= 32 * line)
        lines.erase(0, lines.size() - 31 * line);
    try {
        platform::WriteFileDurably(path, lines + hex + "\n");
    } catch (const EFileError&) {
        // this session still knows it
    }
}

uint64_t NewToken()
{
    std::random_device device;
    const uint64_t token = (static_cast<uint64_t>(device()) << 32) ^ device() ^ static_cast<uint64_t>(std::time(nullptr));
    return token == 0 ? 1 : token;
}

int64_t NowNanos()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string IdOf(int64_t nanos, uint64_t token)
{
    char id[64];
    std::snprintf(id, sizeof id, "%020lld-%016llx", static_cast<long long>(nanos), static_cast<unsigned long long>(token));
    return id;
}

bool Write(const std::string& path, const std::string& bytes)
{
    try {
        platform::WriteFileDurably(path, bytes);
        return true;
    } catch (const EFileError&) {
        return false;
    }
}

// The summary again from the execution's files, after a crash between their writes; none when
// the record itself is damaged.
std::optional<Summary> Rebuild(const std::string& id, const std::optional<Summary>& old)
{
    std::optional<std::string> bytes = platform::ReadFileIfPresent(Path(id, ".record"), kMaxRecordBytes);
    std::optional<UndoRecord> record = bytes ? DecodeUndoRecord(*bytes) : std::nullopt;
    if (!bytes) {
        // Moved to the taken-back entries (MoveRecordToBack) just before a crash.
        const std::optional<std::string> back = platform::ReadFileIfPresent(Path(id, ".back"), kMaxRecordBytes);
        if ((record = back ? DecodeUndoRecord(*back) : std::nullopt)) {
            record->Entries.clear();
            bytes = EncodeUndoRecord(*record);
            if (!Write(Path(id, ".record"), *bytes))
                return std::nullopt;
        }
    }
    if (!record)
        return std::nullopt;
    Summary s;
    s.Item.Id = id;
    s.Item.Folder = record->Folder;
    s.Item.Began = record->Began;
    s.Item.Renamed = old ? old->Item.Renamed : record->Entries.size();
    s.Item.Redoing = old && old->Item.Redoing;
    s.Item.RecordSum = Tail(*bytes);
    const std::optional<std::string> back = platform::ReadFileIfPresent(Path(id, ".back"), kMaxRecordBytes);
    const std::optional<UndoRecord> backRecord = back ? DecodeUndoRecord(*back) : std::nullopt;
    if (backRecord && !backRecord->Entries.empty()) {
        s.Item.Redoable = true;
        s.BackSum = Tail(*back);
    }
    s.Item.State = record->Entries.empty() ? TakenBack::Wholly
                   : old && old->Item.State != TakenBack::Wholly ? old->Item.State
                   : s.Item.Redoable ? TakenBack::Partly
                                     : TakenBack::No;
    Write(SummaryPath(id), EncodeSummary(s));
    return s;
}

bool Matches(const Summary& s)
{
    if (platform::ReadFileTail(Path(s.Item.Id, ".record"), kSumSize) != s.Item.RecordSum)
        return false;
    return s.BackSum.empty() || platform::ReadFileTail(Path(s.Item.Id, ".back"), kSumSize) == s.BackSum;
}

bool EndsWith(const std::string& s, std::string_view end)
{
    return s.size() > end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// The record of older versions becomes the newest execution, once.
void TakeInLegacy(const std::string& spent)
{
    const std::string legacy = LegacyPath();
    if (legacy.empty() || platform::KindOfOwnFile(legacy) == platform::OwnFileKind::Missing)
        return;
    platform::RemoveLeftoverTemporaries(legacy);
    const std::optional<std::string> bytes = platform::ReadFileIfPresent(legacy, kMaxRecordBytes);
    if (!bytes || bytes->size() < kSumSize)
        return;
    // Older versions remembered a spent record by the digest of its whole bytes.
    const std::string whole = Text(QCryptographicHash::hash(Bytes(*bytes), QCryptographicHash::Sha256).toHex());
    if (spent.find(whole) != std::string::npos || spent.find(Hex(Tail(*bytes))) != std::string::npos)
        return;
    const std::optional<UndoRecord> record = DecodeUndoRecord(*bytes);
    if (!record || !AddToHistory(*record, NowNanos()))
        return; // a damaged record is none; one the history can't take stays for a later start
    if (!platform::RemoveFileDurably(legacy) && !platform::OverwriteFileInPlace(legacy, ""))
        RememberSpent(whole);
}

std::optional<Summary> SummaryOf(const std::string& id)
{
    const std::optional<std::string> bytes = platform::ReadFileIfPresent(SummaryPath(id), kMaxSummaryBytes);
    return bytes ? DecodeSummary(*bytes, id) : std::nullopt;
}

std::optional<Summary> SummaryOf(const HistoryItem& item)
{
    return SummaryOf(item.Id);
}

// Writes the summary; on success the caller's item becomes the summary's.
bool PutSummary(HistoryItem& item, const Summary& s)
{
    if (!Write(SummaryPath(s.Item.Id), EncodeSummary(s)))
        return false;
    item = s.Item;
    return true;
}

// What a finished undo or redo leaves: its state, a redo offered while taken-back entries are
// kept, and no redo under way.
bool Settle(HistoryItem& item, Summary& s, TakenBack state)
{
    s.Item.State = state;
    s.Item.Redoable = !s.BackSum.empty();
    s.Item.Redoing = false;
    return PutSummary(item, s);
}

// Newest first; with `untilNotTakenBack`, only down to the first execution not wholly taken
// back, which is all that Undo1 and Redo1 need to know.
std::vector<Summary> ReadSummaries(bool locked, bool untilNotTakenBack = false)
{
    std::vector<Summary> out;
    const std::string folder = HistoryFolder();
    if (folder.empty())
        return out;
    const std::string spent = SpentLines();
    if (locked)
        TakeInLegacy(spent);
    std::vector<std::string> names = platform::FolderNames(folder);
    std::set<std::string> ids;
    for (const std::string& name : names) {
        // WriteFileDurably's temporary files: "<name>.tmpXXXXXX".
        if (name.size() > 10 && name.compare(name.size() - 10, 4, ".tmp") == 0) {
            if (locked)
                platform::RemoveFileDurably(folder + "/" + name);
        } else if (EndsWith(name, ".record")) {
            ids.insert(name.substr(0, name.size() - 7));
        }
    }
    for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
        const std::string& id = *it;
        std::optional<Summary> s = SummaryOf(id);
        if ((!s || !Matches(*s)) && (!locked || !(s = Rebuild(id, s))))
            continue;
        if (Damaged().count(s->Item.RecordSum))
            continue;
        if (Voided().count(s->Item.RecordSum) || spent.find(Hex(s->Item.RecordSum)) != std::string::npos) {
            s->Item.State = TakenBack::Wholly;
            s->Item.Redoable = false;
        }
        out.push_back(std::move(*s));
        if (untilNotTakenBack && out.back().Item.State != TakenBack::Wholly)
            break;
    }
    return out;
}

// The record this program wrote or read last, by its checksum: an undo straight after its
// execution, or a redo straight after its undo, takes it from here instead of reading and
// taking apart every entry again. The checksum is a SHA-256 of the whole record, so a file
// that is intact and ends in it holds these very entries.
struct KnownRecord {
    std::mutex Guard;
    std::string Sum;
    std::shared_ptr<const UndoRecord> Record;
};
KnownRecord& Known()
{
    static KnownRecord known;
    return known;
}

void Remember(const std::string& sum, std::shared_ptr<const UndoRecord> record)
{
    KnownRecord& k = Known();
    const std::lock_guard lock(k.Guard);
    k.Sum = sum;
    k.Record = std::move(record);
}

std::shared_ptr<const UndoRecord> Recall(const std::string& sum)
{
    KnownRecord& k = Known();
    const std::lock_guard lock(k.Guard);
    return !sum.empty() && k.Sum == sum ? k.Record : nullptr;
}

std::optional<UndoRecord> Load(const std::string& path, const std::string& sum, std::string* bytesOut)
{
    std::optional<std::string> bytes = platform::ReadFileIfPresent(path, kMaxRecordBytes);
    if (!bytes || bytes->size() < kSumSize || (!sum.empty() && Tail(*bytes) != sum))
        return std::nullopt;
    if (!bytesOut)
        if (const std::shared_ptr<const UndoRecord> known = Recall(sum))
            return IsIntactUndoRecord(*bytes) ? std::optional<UndoRecord>(*known) : std::nullopt;
    std::optional<UndoRecord> record = DecodeUndoRecord(*bytes);
    if (record)
        Remember(Tail(*bytes), std::make_shared<const UndoRecord>(*record));
    if (record && bytesOut)
        *bytesOut = std::move(*bytes);
    return record;
}

bool RemoveOrEmpty(const std::string& path)
{
    return platform::RemoveFileDurably(path) || platform::OverwriteFileInPlace(path, "");
}
} // namespace

std::string HistoryFolder()
{
    const std::string folder = platform::ProgramStateFolder();
    return folder.empty() ? std::string() : folder + "/history";
}

std::string HistoryRecordPath(const HistoryItem& item)
{
    return Path(item.Id, ".record");
}

std::vector<HistoryItem> ReadHistory(std::chrono::milliseconds wait, bool untilNotTakenBack)
{
    const std::string folder = platform::ProgramStateFolder();
    if (folder.empty())
        return {};
    std::vector<Summary> summaries;
    {
        const platform::StateLock lock(folder + "/last-execution.lock", false, wait);
        summaries = ReadSummaries(lock.held(), untilNotTakenBack);
    }
    std::vector<HistoryItem> items;
    items.reserve(summaries.size());
    for (Summary& s : summaries)
        items.push_back(std::move(s.Item));
    return items;
}

std::optional<UndoRecord> LoadHistoryRecord(const HistoryItem& item, std::string* bytes)
{
    return Load(HistoryRecordPath(item), item.RecordSum, bytes);
}

std::optional<UndoRecord> LoadHistoryBack(const HistoryItem& item)
{
    const std::optional<Summary> s = SummaryOf(item);
    if (!s || s->BackSum.empty())
        return std::nullopt;
    return Load(BackPath(item), s->BackSum, nullptr);
}

bool UpdateHistory(HistoryItem& item, const UndoRecord& record, std::vector<UndoEntry> back, TakenBack state)
{
    std::optional<Summary> s = SummaryOf(item);
    if (!s)
        return false;
    s->BackSum.clear();
    if (!back.empty()) {
        // A token of its own: the redo's temporary names are told from the undo's.
        UndoRecord redo = record;
        redo.Entries = std::move(back);
        redo.Token = NewToken();
        redo.Began = std::time(nullptr);
        const std::string bytes = EncodeUndoRecord(redo);
        if (!Write(BackPath(item), bytes))
            return false;
        s->BackSum = Tail(bytes);
    } else if (!RemoveOrEmpty(BackPath(item))) {
        return false;
    }
    const std::string bytes = EncodeUndoRecord(record);
    if (!Write(HistoryRecordPath(item), bytes))
        return false;
    s->Item.RecordSum = Tail(bytes);
    return Settle(item, *s, state);
}

bool MoveRecordToBack(HistoryItem& item, const UndoRecord& emptied)
{
    std::optional<Summary> s = SummaryOf(item);
    if (!s || !platform::RemoveFileDurably(BackPath(item)) ||
        platform::RenameNoReplace(HistoryRecordPath(item), BackPath(item)) != platform::RenameResult::Renamed)
        return false;
    // A crash from here on is made good by Rebuild: a record missing beside its taken-back
    // entries has none left to take back.
    const std::string bytes = EncodeUndoRecord(emptied);
    if (!Write(HistoryRecordPath(item), bytes))
        return false;
    s->BackSum = s->Item.RecordSum;
    s->Item.RecordSum = Tail(bytes);
    return Settle(item, *s, TakenBack::Wholly);
}

bool MoveBackToRecord(HistoryItem& item)
{
    std::optional<Summary> s = SummaryOf(item);
    // The record is replaced in one step: a crash leaves either file as the record, and the
    // summary's Redoing sends it through FinishCutRedo.
    if (!s || s->BackSum.empty() || !platform::ReplaceFileDurably(BackPath(item), HistoryRecordPath(item)))
        return false;
    s->Item.RecordSum = s->BackSum;
    s->BackSum.clear();
    return Settle(item, *s, TakenBack::No);
}

bool MarkRedoing(HistoryItem& item)
{
    std::optional<Summary> s = SummaryOf(item);
    if (!s)
        return false;
    s->Item.State = TakenBack::Partly;
    s->Item.Redoing = true;
    return PutSummary(item, *s);
}

std::optional<HistoryItem> AddToHistory(const UndoRecord& planned, int64_t idNanos)
{
    if (HistoryFolder().empty())
        return std::nullopt;
    Summary s;
    s.Item.Id = IdOf(idNanos, planned.Token);
    s.Item.Folder = planned.Folder;
    s.Item.Began = planned.Began;
    s.Item.Renamed = planned.Entries.size();
    const std::string bytes = EncodeUndoRecord(planned);
    s.Item.RecordSum = Tail(bytes);
    if (!Write(HistoryRecordPath(s.Item), bytes))
        return std::nullopt;
    Remember(s.Item.RecordSum, std::make_shared<const UndoRecord>(planned));
    if (!Write(SummaryPath(s.Item.Id), EncodeSummary(s))) {
        platform::RemoveFileDurably(HistoryRecordPath(s.Item));
        return std::nullopt;
    }
    return s.Item;
}

void FinishHistoryItem(HistoryItem& item, uint64_t renamed)
{
    if (std::optional<Summary> s = SummaryOf(item)) {
        s->Item.Renamed = renamed;
        PutSummary(item, *s);
    }
    std::vector<Summary> all = ReadSummaries(false);
    for (std::size_t i = kHistorySize; i < all.size(); ++i)
        RemoveHistoryItem(all[i].Item);
}

void DropRedo(const std::string& keep)
{
    for (Summary& s : ReadSummaries(false)) {
        if (s.BackSum.empty() || s.Item.Id == keep)
            continue;
        s.BackSum.clear();
        // The summary first: without it the taken-back entries are no longer offered.
        if (Write(SummaryPath(s.Item.Id), EncodeSummary(s)))
            platform::RemoveFileDurably(BackPath(s.Item));
    }
}

bool RemoveHistoryItem(const HistoryItem& item)
{
    // The summary last: a half-removed execution is made again from what is left, or dropped.
    const bool gone = platform::RemoveFileDurably(HistoryRecordPath(item));
    platform::RemoveFileDurably(BackPath(item));
    return platform::RemoveFileDurably(SummaryPath(item.Id)) && gone;
}

bool EndHistory()
{
    const std::string folder = HistoryFolder();
    if (folder.empty())
        return true;
    bool ended = true;
    for (const std::string& name : platform::FolderNames(folder)) {
        if (!EndsWith(name, ".record"))
            continue;
        const std::string id = name.substr(0, name.size() - 7);
        HistoryItem item;
        item.Id = id;
        if (RemoveHistoryItem(item))
            continue;
        // A record that can't go must not read as one.
        if (RemoveOrEmpty(HistoryRecordPath(item)))
            continue;
        if (const std::optional<std::string> tail = platform::ReadFileTail(HistoryRecordPath(item), kSumSize)) {
            Voided().insert(*tail);
            RememberSpent(Hex(*tail));
        }
        ended = false;
    }
    // The record of older versions is older than any of them.
    if (const std::string legacy = LegacyPath(); !legacy.empty() && platform::KindOfOwnFile(legacy) != platform::OwnFileKind::Missing)
        RemoveOrEmpty(legacy);
    return ended;
}

void SetAsideDamaged(const HistoryItem& item)
{
    Damaged().insert(item.RecordSum);
}

void MarkHistorySpent(const HistoryItem& item)
{
    Voided().insert(item.RecordSum);
    RememberSpent(Hex(item.RecordSum));
}
