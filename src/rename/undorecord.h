#pragma once
// The record of one execution that lets it be undone: the folder and its identity and, for
// each planned rename, the old and new name and the identity of the file. Names are raw bytes
// (anything but NUL and "/", newlines included), so the record is a length-prefixed binary
// format; a magic and version header and a trailing SHA-256 checksum make a damaged or
// foreign file read as no record.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct UndoEntry {
    std::string OldName;
    std::string NewName;
    uint64_t Device = 0;
    uint64_t Inode = 0;
    uint64_t Birth = 0; // nanoseconds since the epoch; 0: unknown, not compared
    // Where inode numbers do not last (camera cards through FUSE), the file is known by its
    // size and modification time instead; both 0 in records of the formats before.
    uint64_t Size = 0;
    int64_t ModifiedNanos = 0;
    bool operator==(const UndoEntry&) const = default;
};

struct UndoRecord {
    std::string Folder; // absolute path of the folder the execution renamed in
    std::vector<UndoEntry> Entries; // in list order
    // The folder's identity when the execution ran; all 0 when unknown (a record of the first
    // format), which is then not checked.
    uint64_t FolderDevice = 0;
    uint64_t FolderInode = 0;
    uint64_t FolderBirth = 0;
    // The folder's file system hands out new inode numbers after a remount or when the kernel
    // forgets an entry: files are then known by size and modification time (UndoEntry).
    bool LooseIdentity = false;
    // Names the hidden temporary names of this execution's renames (RunTemporaryStem), so an
    // undo or a later start finds a file a crash left under one; 0 in older records.
    uint64_t Token = 0;
    // When the execution began, seconds since the epoch; 0 when unknown.
    int64_t Began = 0;
    bool operator==(const UndoRecord&) const = default;
};

// True when every name is a bare entry name and the folder an absolute path without NUL;
// only such records are written or read.
bool IsValidUndoRecord(const UndoRecord& record);

// The bytes of the record. Precondition: IsValidUndoRecord(record).
std::string EncodeUndoRecord(const UndoRecord& record);
// The record, or none for bytes that are not a whole, intact, valid record. Records of the
// first format (no birth times, no folder identity) are still read, with those left 0.
std::optional<UndoRecord> DecodeUndoRecord(std::string_view bytes);
// Whether the bytes end in the checksum of all that comes before: a record not damaged since
// it was written. DecodeUndoRecord checks this first.
bool IsIntactUndoRecord(std::string_view bytes);

// The stem of the hidden temporary name that the rename of entry `index` of the record with
// this token takes where a folder folds letter case: ".pelkorin-" + token in hex + "-" + index.
std::string RunTemporaryStem(uint64_t token, std::size_t index);

// Appends the checksum the reader expects to any body (header included); lets the fuzzer
// reach the reader's inner checks with bytes of its own.
std::string SealUndoRecordBody(std::string_view body);
