#pragma once
// Capture times (with the camera and lens read in the same pass) already read, so that sorting a folder again (or naming its files from the
// same times) reads no header twice. An entry holds while the file is the same file, with the
// same size and the same modification and status-change times.
#include "metadata/filefacts.h"
#include "platform/filestamp.h"

#include <cstddef>
#include <optional>
#include <unordered_map>

class CaptureTimeCache {
public:
    // The time read before for this very file as it stands (a file without one included), or
    // none when it has to be read. Safe from several threads while nothing is stored.
    std::optional<std::optional<CaptureTime>> Find(const platform::FileStamp& stamp) const;
    // The same with the camera and lens.
    std::optional<metadata::FileFacts> FindFacts(const platform::FileStamp& stamp) const;
    // Keeps what was read; a newer stamp of the same file replaces the older one.
    void Store(const platform::FileStamp& stamp, std::optional<CaptureTime> time);
    void Store(const platform::FileStamp& stamp, metadata::FileFacts facts);
    std::size_t size() const { return entries_.size(); }

private:
    struct Key {
        uint64_t Device, Inode;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const { return std::hash<uint64_t>{}(k.Inode * 31 + k.Device); }
    };
    struct Entry {
        platform::FileStamp Stamp;
        metadata::FileFacts Facts;
    };
    std::unordered_map<Key, Entry, KeyHash> entries_;
};
