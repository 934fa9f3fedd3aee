#include "metadata/tifftags.h"

#include <string_view>

namespace metadata {

namespace {

constexpr uint16_t kAscii = 2;
constexpr uint16_t kLong = 4;
constexpr uint16_t kUndefined = 7;
constexpr uint16_t kIfd = 13;

class TiffBytes {
public:
    TiffBytes(const char* data, std::size_t size, bool big) : data_(data), size_(size), big_(big) {}

    bool Has(uint64_t at, uint64_t count) const { return at <= size_ && count <= size_ - at; }
    uint32_t Number(uint64_t at, int bytes) const
    {
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            const auto b = static_cast<unsigned char>(data_[at + static_cast<uint64_t>(big_ ? i : bytes - 1 - i)]);
            value = value << 8 | b;
        }
        return value;
    }
    // An ASCII entry's text up to its first NUL; empty when it lies outside the bytes.
    std::string Text(uint64_t entry, bool& whole) const
    {
        const uint32_t count = Number(entry + 4, 4);
        const uint64_t at = count <= 4 ? entry + 8 : Number(entry + 8, 4);
        if (!Has(at, count)) {
            whole = false;
            return {};
        }
        const std::string_view text(data_ + at, count);
        return std::string(text.substr(0, text.find('\0')));
    }

private:
    const char* data_;
    std::size_t size_;
    bool big_;
};

struct Texts : TimeTexts {
    std::string Make, Model, Lens;
    uint32_t ExifAt = 0;
    uint32_t JpegAt = 0, JpegSize = 0;
    bool MakerNote = false;
    bool Whole = true;
};

// The entries of the directory at `at` that matter here, each where its tag number says.
void ReadDirectory(const TiffBytes& b, uint64_t at, bool exif, Texts& t)
{
    if (!b.Has(at, 2)) {
        t.Whole = false;
        return;
    }
    const uint32_t count = b.Number(at, 2);
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t entry = at + 2 + uint64_t{i} * 12;
        if (!b.Has(entry, 12)) {
            t.Whole = false;
            return;
        }
        const uint32_t tag = b.Number(entry, 2), type = b.Number(entry + 2, 2);
        if (!exif && tag == 0x8769 && (type == kLong || type == kIfd))
            t.ExifAt = b.Number(entry + 8, 4);
        if (exif && tag == 0x927c)
            t.MakerNote = true;
        if (!exif && tag == 0x002e && type == kUndefined) {
            t.JpegSize = b.Number(entry + 4, 4);
            t.JpegAt = b.Number(entry + 8, 4);
        }
        if (type != kAscii)
            continue;
        std::string* into = nullptr;
        switch (exif ? tag | 0x10000 : tag) {
        case 0x010f: into = &t.Make; break;
        case 0x0110: into = &t.Model; break;
        case 0x0132: into = &t.DateTime; break;
        case 0x19003: into = &t.Original; break;
        case 0x19004: into = &t.Digitized; break;
        case 0x19290: into = &t.SubSec; break;
        case 0x19291: into = &t.SubSecOriginal; break;
        case 0x19292: into = &t.SubSecDigitized; break;
        case 0x1a434: into = &t.Lens; break;
        default: break;
        }
        if (into)
            *into = b.Text(entry, t.Whole);
    }
}

// Sub-seconds as nanoseconds: "12" is 0.12 s. Trailing blanks are allowed, anything else but
// digits makes the tag count as absent.
uint32_t SubSecondNanoseconds(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    uint32_t nanos = 0;
    for (std::size_t i = 0; i < 9; ++i) {
        const char c = i < text.size() ? text[i] : '0';
        if (c < '0' || c > '9')
            return 0;
        nanos = nanos * 10 + static_cast<uint32_t>(c - '0');
    }
    for (std::size_t i = 9; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return 0;
    return nanos;
}

} // namespace

std::optional<CaptureTime> TimeOfTexts(const TimeTexts& t)
{
    const std::pair<const std::string*, const std::string*> candidates[] = {
        {&t.Original, &t.SubSecOriginal}, {&t.Digitized, &t.SubSecDigitized}, {&t.DateTime, &t.SubSec}};
    for (const auto& [time, subSeconds] : candidates)
        if (const auto seconds = ExifDateTimeSeconds(*time))
            return CaptureTime{*seconds, SubSecondNanoseconds(*subSeconds)};
    return std::nullopt;
}

std::optional<QuickTags> ReadQuickTags(const char* data, std::size_t size, bool exifFirst)
{
    if (size < 8)
        return std::nullopt;
    const std::string_view header(data, 4);
    const bool big = header == std::string_view("MM\0*", 4) || header == "MMOR";
    if (!big && header != std::string_view("II*\0", 4) && header != "IIRO" && header != "IIRS" &&
        header != std::string_view("IIU\0", 4))
        return std::nullopt;
    const TiffBytes b(data, size, big);
    Texts t;
    ReadDirectory(b, b.Number(4, 4), exifFirst, t);
    if (t.ExifAt != 0 && !exifFirst)
        ReadDirectory(b, t.ExifAt, true, t);
    QuickTags quick;
    quick.Facts.Time = TimeOfTexts(t);
    quick.Facts.Taken = {t.Make, t.Model, t.Lens};
    quick.MakerNote = t.MakerNote;
    quick.Whole = t.Whole;
    quick.JpegAt = t.JpegAt;
    quick.JpegSize = t.JpegSize;
    return quick;
}

} // namespace metadata
