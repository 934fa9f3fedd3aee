// The undo record as the reader takes it, from any bytes: a record or none, never a crash,
// and a record read back encodes to exactly the bytes it came from (one of an older format
// encodes to the current one, which reads back as the same record). Each input is also read
// with a correct checksum appended, so the checks behind the checksum are reached; and every
// valid record built from the input reads back unchanged.
#include "rename/undorecord.h"

#include "check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

namespace {

void CheckRead(const std::string& bytes)
{
    const std::optional<UndoRecord> record = DecodeUndoRecord(bytes);
    if (!record)
        return;
    FUZZ_CHECK(IsValidUndoRecord(*record));
    const std::string again = EncodeUndoRecord(*record);
    const bool olderFormat = bytes.compare(8, 4, std::string("\3\0\0\0", 4)) != 0;
    if (olderFormat)
        FUZZ_CHECK(DecodeUndoRecord(again) == record);
    else
        FUZZ_CHECK(again == bytes);
}

void CheckWriteThenRead(FuzzedDataProvider& in)
{
    UndoRecord record;
    record.Folder = "/" + in.ConsumeRandomLengthString(64);
    for (int n = in.ConsumeIntegralInRange(0, 8); n > 0; --n) {
        UndoEntry e;
        e.OldName = in.ConsumeRandomLengthString(32);
        e.NewName = in.ConsumeRandomLengthString(32);
        e.Device = in.ConsumeIntegral<uint64_t>();
        e.Inode = in.ConsumeIntegral<uint64_t>();
        e.Birth = in.ConsumeIntegral<uint64_t>();
        e.Size = in.ConsumeIntegral<uint64_t>();
        e.ModifiedNanos = in.ConsumeIntegral<int64_t>();
        record.Entries.push_back(e);
    }
    record.FolderDevice = in.ConsumeIntegral<uint64_t>();
    record.FolderInode = in.ConsumeIntegral<uint64_t>();
    record.FolderBirth = in.ConsumeIntegral<uint64_t>();
    record.LooseIdentity = in.ConsumeBool();
    record.Token = in.ConsumeIntegral<uint64_t>();
    record.Began = in.ConsumeIntegral<int64_t>();
    if (!IsValidUndoRecord(record))
        return;
    FUZZ_CHECK(DecodeUndoRecord(EncodeUndoRecord(record)) == record);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckRead(bytes);
    CheckRead(SealUndoRecordBody(bytes));
    FuzzedDataProvider in(data, size);
    CheckWriteThenRead(in);
    return 0;
}
