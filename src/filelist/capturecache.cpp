#include "filelist/capturecache.h"

namespace {
// Far more photos than one folder holds, but a bound on what a long session keeps.
constexpr std::size_t kMostEntries = 1 << 20;
} // namespace

std::optional<std::optional<CaptureTime>> CaptureTimeCache::Find(const platform::FileStamp& stamp) const
{
    const auto it = entries_.find({stamp.Device, stamp.Inode});
    if (it == entries_.end() || !(it->second.Stamp == stamp))
        return std::nullopt;
    return it->second.Facts.Time;
}

std::optional<metadata::FileFacts> CaptureTimeCache::FindFacts(const platform::FileStamp& stamp) const
{
    const auto it = entries_.find({stamp.Device, stamp.Inode});
    if (it == entries_.end() || !(it->second.Stamp == stamp))
        return std::nullopt;
    return it->second.Facts;
}

void CaptureTimeCache::Store(const platform::FileStamp& stamp, std::optional<CaptureTime> time)
{
    Store(stamp, metadata::FileFacts{time, {}});
}

void CaptureTimeCache::Store(const platform::FileStamp& stamp, metadata::FileFacts facts)
{
    if (entries_.size() >= kMostEntries)
        entries_.clear();
    entries_.insert_or_assign(Key{stamp.Device, stamp.Inode}, Entry{stamp, std::move(facts)});
}
