#include "rename/naming.h"

#include "base/ascii.h"
#include "rename/texthelpers.h"

#include <algorithm>
#include <utility>

// The bytes "." and "0"-"9" never occur inside a multi-byte UTF-8 character, so searching
// bytes finds exactly the characters the rules talk about.

namespace {

// The last `width` characters of ten zeros followed by digits: pads a short run and drops
// surplus leading zeros, but never cuts the significant part.
std::string ZeroPadded(const std::string& digits, int width)
{
    return CharRight("0000000000" + digits, width);
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

std::string ComposeNewName(const std::string& name, const RenameOptions& options,
                           int32_t sequenceNumber)
{
    NameParts parts = SplitName(name);

    if (options.ChangeText)
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
