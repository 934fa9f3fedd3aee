#include "metadata/filefacts.h"

#include "metadata/formats.h"

#include <array>
#include <cstring>

namespace metadata {

namespace {

bool Starts(const std::array<char, 16>& head, std::size_t have, std::string_view magic, std::size_t at = 0)
{
    return have >= at + magic.size() && std::string_view(head.data() + at, magic.size()) == magic;
}

// The format is told by the first bytes, never by the name.
FileFacts FactsOfSource(ByteSource& source)
{
    UseExiv2();
    std::array<char, 16> head{};
    const std::size_t have = source.ReadAt(0, head.data(), head.size());
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
