#include "rename/undorecord.h"

#include "platform/renameways.h"

#include <QByteArrayView>
#include <QCryptographicHash>

#include <algorithm>
#include <bit>
#include <cstring>
#include <system_error>
#include <thread>

namespace {

constexpr std::string_view kMagic{"PELKUNDO", 8};
// 1: entries of names, device and inode. 2: birth times, and the folder's identity. 3: size
// and modification time of each file, the kind of identity, the run's token and start.
constexpr uint32_t kFirstVersion = 1;
constexpr uint32_t kVersion = 3;
constexpr std::size_t kDigestSize = 32; // SHA-256
// The smallest entry: two one-byte names with their lengths, device, inode (and birth time).
constexpr std::size_t kMinEntrySize(uint64_t version)
{
    return 4 + 1 + 4 + 1 + 8 + 8 + (version >= 2 ? 8 : 0) + (version >= 3 ? 16 : 0);
}

bool IsBareName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

bool IsFolderPath(std::string_view path)
{
    return !path.empty() && path[0] == '/' && path.find('\0') == std::string_view::npos;
}

// Little-endian, whatever the machine, so a record means the same everywhere.
void PutInt(std::string& out, uint64_t value, int bytes)
{
    char b[8];
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(b, &value, 8);
    } else {
        for (int i = 0; i < bytes; ++i)
            b[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    out.append(b, static_cast<std::size_t>(bytes));
}

void PutText(std::string& out, std::string_view text)
{
    PutInt(out, text.size(), 4);
    out.append(text);
}

std::string Sha256(std::string_view bytes)
{
    const QByteArray d = QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                                  QCryptographicHash::Sha256);
    return d.toStdString();
}

// From the second format on, the checksum is the SHA-256 of the SHA-256s of the body's
// 1 MiB pieces, so that a record of a big folder is summed on two threads at once.
constexpr std::size_t kPiece = std::size_t{1} << 20;
constexpr std::size_t kPiecesWorthAThread = 4;

std::string PiecewiseDigest(std::string_view body)
{
    const std::size_t pieces = std::max<std::size_t>(1, (body.size() + kPiece - 1) / kPiece);
    std::string sums(pieces * kDigestSize, '\0');
    const auto sumPieces = [&](std::size_t from, std::size_t to) {
        for (std::size_t p = from; p < to; ++p)
            sums.replace(p * kDigestSize, kDigestSize, Sha256(body.substr(p * kPiece, kPiece)));
    };
    std::optional<std::thread> helper;
    if (pieces >= kPiecesWorthAThread && std::thread::hardware_concurrency() > 1) {
        try {
            helper.emplace(sumPieces, pieces / 2, pieces);
        } catch (const std::system_error&) {
            // no thread to be had: all of it here
        }
    }
    sumPieces(0, helper ? pieces / 2 : pieces);
    if (helper)
        helper->join();
    return Sha256(sums);
}

// The checksum the body's own format version calls for.
std::string Digest(std::string_view body)
{
    const bool firstFormat = body.size() >= kMagic.size() + 4 && body.substr(kMagic.size(), 4) == std::string_view("\1\0\0\0", 4);
    return firstFormat ? Sha256(body) : PiecewiseDigest(body);
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}
    bool Int(uint64_t& value, int bytes)
    {
        if (rest_.size() < static_cast<std::size_t>(bytes))
            return false;
        value = 0;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(&value, rest_.data(), static_cast<std::size_t>(bytes));
        } else {
            for (int i = 0; i < bytes; ++i)
                value |= static_cast<uint64_t>(static_cast<unsigned char>(rest_[static_cast<std::size_t>(i)])) << (8 * i);
        }
        rest_.remove_prefix(static_cast<std::size_t>(bytes));
        return true;
    }
    bool Text(std::string& text)
    {
        uint64_t size = 0;
        if (!Int(size, 4) || size > rest_.size())
            return false;
        text.assign(rest_.substr(0, size));
        rest_.remove_prefix(size);
        return true;
    }
    bool Literal(std::string_view expected)
    {
        if (!rest_.starts_with(expected))
            return false;
        rest_.remove_prefix(expected.size());
        return true;
    }
    std::size_t Left() const { return rest_.size(); }

private:
    std::string_view rest_;
};

} // namespace

bool IsValidUndoRecord(const UndoRecord& record)
{
    if (!IsFolderPath(record.Folder))
        return false;
    for (const UndoEntry& e : record.Entries)
        if (!IsBareName(e.OldName) || !IsBareName(e.NewName))
            return false;
    return true;
}

std::string EncodeUndoRecord(const UndoRecord& record)
{
    std::string out;
    std::size_t size = kMagic.size() + 4 + 4 + record.Folder.size() + 24 + 17 + 8 + kDigestSize;
    for (const UndoEntry& e : record.Entries)
        size += 8 + e.OldName.size() + e.NewName.size() + 40;
    out.reserve(size);
    out.append(kMagic);
    PutInt(out, kVersion, 4);
    PutText(out, record.Folder);
    PutInt(out, record.FolderDevice, 8);
    PutInt(out, record.FolderInode, 8);
    PutInt(out, record.FolderBirth, 8);
    PutInt(out, record.LooseIdentity ? 1 : 0, 1);
    PutInt(out, record.Token, 8);
    PutInt(out, static_cast<uint64_t>(record.Began), 8);
    PutInt(out, record.Entries.size(), 8);
    for (const UndoEntry& e : record.Entries) {
        PutText(out, e.OldName);
        PutText(out, e.NewName);
        PutInt(out, e.Device, 8);
        PutInt(out, e.Inode, 8);
        PutInt(out, e.Birth, 8);
        PutInt(out, e.Size, 8);
        PutInt(out, static_cast<uint64_t>(e.ModifiedNanos), 8);
    }
    out += Digest(out);
    return out;
}

std::string RunTemporaryStem(uint64_t token, std::size_t index)
{
    return platform::TemporaryStemText({token, index});
}

std::string SealUndoRecordBody(std::string_view body)
{
    return std::string(body) + Digest(body);
}

bool IsIntactUndoRecord(std::string_view bytes)
{
    if (bytes.size() < kDigestSize)
        return false;
    const std::string_view body = bytes.substr(0, bytes.size() - kDigestSize);
    return Digest(body) == bytes.substr(body.size());
}

std::optional<UndoRecord> DecodeUndoRecord(std::string_view bytes)
{
    if (!IsIntactUndoRecord(bytes))
        return std::nullopt;
    const std::string_view body = bytes.substr(0, bytes.size() - kDigestSize);
    Reader in(body);
    uint64_t version = 0, count = 0;
    UndoRecord record;
    if (!in.Literal(kMagic) || !in.Int(version, 4) || version < kFirstVersion || version > kVersion ||
        !in.Text(record.Folder))
        return std::nullopt;
    const bool second = version >= 2, third = version >= 3;
    if (second && (!in.Int(record.FolderDevice, 8) || !in.Int(record.FolderInode, 8) || !in.Int(record.FolderBirth, 8)))
        return std::nullopt;
    uint64_t loose = 0, began = 0;
    if (third && (!in.Int(loose, 1) || loose > 1 || !in.Int(record.Token, 8) || !in.Int(began, 8)))
        return std::nullopt;
    record.LooseIdentity = loose == 1;
    record.Began = static_cast<int64_t>(began);
    if (!in.Int(count, 8) || count > in.Left() / kMinEntrySize(version))
        return std::nullopt;
    record.Entries.resize(static_cast<std::size_t>(count));
    for (UndoEntry& e : record.Entries) {
        uint64_t modified = 0;
        if (!in.Text(e.OldName) || !in.Text(e.NewName) || !in.Int(e.Device, 8) || !in.Int(e.Inode, 8) ||
            (second && !in.Int(e.Birth, 8)) || (third && (!in.Int(e.Size, 8) || !in.Int(modified, 8))))
            return std::nullopt;
        e.ModifiedNanos = static_cast<int64_t>(modified);
    }
    if (in.Left() != 0 || !IsValidUndoRecord(record))
        return std::nullopt;
    return record;
}
