#include "rename/naming.h"

#include "base/ascii.h"
#include "rename/texthelpers.h"

#include <algorithm>
#include <utility>

// The bytes "." and "0"-"9" never occur inside a multi-byte UTF-8 character, so searching
// bytes finds exactly the characters the rules talk about.

namespace {

// The last `width` characters of ten zeros followed by digits: pads a short run and drops
// surplus leading zeros, but never cuts the significant part. Digit runs and numbers are
// ASCII, so characters are bytes here; made in place, as this runs once per file of a run.
std::string ZeroPadded(const std::string& digits, int width)
{
    const std::size_t n = digits.size();
    if (width <= 0)
        return {};
    const auto w = static_cast<std::size_t>(width);
    if (w <= n)
        return digits.substr(n - w);
    std::string padded(std::min<std::size_t>(w - n, 10), '0');
    padded += digits;
    return padded;
}

} // namespace

NameParts SplitName(const std::string& name)
{
    NameParts parts;
    const std::size_t dot = name.rfind('.');
    const std::size_t baseEnd = dot == std::string::npos ? name.size() : dot;
    parts.Extension = name.substr(baseEnd);
    std::size_t runStart = baseEnd;
    while (runStart > 0 && name[runStart - 1] >= '0' && name[runStart - 1] <= '9')
        --runStart;
    parts.TextPart = name.substr(0, runStart);
    parts.DigitRun = name.substr(runStart, baseEnd - runStart);
    return parts;
}

namespace {

// textPart, when given, stands for the text part whatever ChangeText says.
std::string Compose(const std::string& name, const RenameOptions& options, int32_t sequenceNumber,
                    const std::string_view* textPart)
{
    NameParts parts = SplitName(name);

    if (textPart)
        parts.TextPart = *textPart;
    else if (options.ChangeText)
        parts.TextPart = options.NewText;

    if (options.PadDigits) {
        int width = options.DigitCount;
        if (!parts.DigitRun.empty()) {
            const int significant = CharLength(std::to_string(ParseInteger(parts.DigitRun)));
            width = std::max(width, significant);
        }
        parts.DigitRun = ZeroPadded(parts.DigitRun, width);
    }

    if (options.Sequential) {
        const std::string number = std::to_string(sequenceNumber);
        parts.DigitRun = ZeroPadded(number, std::max(options.DigitCount, CharLength(number)));
    }

    if (options.ExtLowerCase)
        parts.Extension = AsciiLower(std::move(parts.Extension));

    if (options.JpegToJpg && parts.Extension == ".jpeg")
        parts.Extension = ".jpg";

    if (options.ChangeExt)
        parts.Extension = options.NewExt.empty() ? std::string() : "." + options.NewExt;

    return parts.TextPart + parts.DigitRun + parts.Extension;
}

} // namespace

std::string ComposeNewName(const std::string& name, const RenameOptions& options,
                           int32_t sequenceNumber)
{
    return Compose(name, options, sequenceNumber, nullptr);
}

std::string ComposeNewName(const std::string& name, const RenameOptions& options,
                           int32_t sequenceNumber, std::string_view textPart)
{
    return Compose(name, options, sequenceNumber, &textPart);
}
