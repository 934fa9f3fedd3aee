#include "metadata/filefacts.h"

#include "metadata/formats.h"

#include <cstring>
#include <vector>

namespace metadata {

namespace {

// One read of this much settles most photos: the directories of a JPEG's EXIF block or of a
// raw file. Reading more costs more than anything else done here.
constexpr std::size_t kFirstRead = 4 * 1024;

bool Starts(const std::vector<char>& head, std::size_t have, std::string_view magic, std::size_t at = 0)
{
    return have >= at + magic.size() && std::string_view(head.data() + at, magic.size()) == magic;
}

FileFacts FactsOfFormat(ByteSource& source, const std::vector<char>& head, std::size_t have)
{
    using namespace std::string_view_literals;
    try {
        if (Starts(head, have, "\xff\xd8"sv) || Starts(head, have, "Exif\0\0"sv))
            return FactsOfJpeg(source);
        if (Starts(head, have, "II"sv) || Starts(head, have, "MM"sv))
            return FactsOfTiff(source);
        if (Starts(head, have, "FUJIFILMCCD-RAW "sv))
            return FactsOfRaf(source);
        if (Starts(head, have, "\0MRM"sv))
            return FactsOfMrw(source);
        if (Starts(head, have, "\x89PNG\r\n\x1a\n"sv))
            return FactsOfPng(source);
        if (Starts(head, have, "RIFF"sv) && Starts(head, have, "WEBP"sv, 8))
            return FactsOfWebp(source);
        if (Starts(head, have, "ftyp"sv, 4))
            return FactsOfIsoMedia(source);
    } catch (...) {
        // Exiv2 throws on damaged input (and may run out of memory on absurd sizes): such a
        // file tells nothing.
    }
    return {};
}

// The format is told by the first bytes, never by the name.
FileFacts FactsOfSource(ByteSource& whole)
{
    UseExiv2();
    thread_local std::vector<char> head(kFirstRead);
    const std::size_t have = whole.ReadAt(0, head.data(), head.size());
    HeadSource source(whole, std::string_view(head.data(), have));
    return FactsOfFormat(source, head, have);
}

} // namespace

FileFacts FactsOfFile(const std::string& path)
{
    platform::FileStartReader reader(path);
    return FactsOfReader(reader);
}

FileFacts FactsOfFile(const std::string& path, const platform::LookedAt& seen)
{
    platform::FileStartReader reader(path, seen);
    return FactsOfReader(reader);
}

FileFacts FactsOfReader(platform::FileStartReader& reader)
{
    if (!reader.valid())
        return {};
    FileSource source(reader);
    return FactsOfSource(source);
}

FileFacts FactsFromBytes(std::string_view bytes)
{
    MemorySource source(bytes);
    return FactsOfSource(source);
}

} // namespace metadata
