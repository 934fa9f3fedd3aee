// New names from any current name and any options: the parts always make up the name, only
// EConvertError is ever thrown, and only when the digit run can't be read as an int32.
#include "rename/naming.h"

#include "check.h"
#include "rename/texthelpers.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The value of a run of decimal digits exceeds INT32_MAX.
bool Overflows(const std::string& digits)
{
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return false;
    const std::string significant = digits.substr(first);
    return significant.size() > 10 || (significant.size() == 10 && significant > "2147483647");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    RenameOptions o;
    o.ChangeText = in.ConsumeBool();
    o.PadDigits = in.ConsumeBool();
    o.Sequential = in.ConsumeBool();
    o.ChangeExt = in.ConsumeBool();
    o.ExtLowerCase = in.ConsumeBool() || in.ConsumeRandomLengthString(4) == "on";
    o.JpegToJpg = in.ConsumeBool() || in.ConsumeRandomLengthString(4) == "on";
    o.DigitCount = in.ConsumeIntegralInRange<int>(-2, 40);
    const int32_t number = in.ConsumeIntegral<int32_t>();
    o.NewText = in.ConsumeRandomLengthString(64);
    o.NewExt = in.ConsumeRandomLengthString(16);
    const std::string name = in.ConsumeRemainingBytesAsString();

    const NameParts parts = SplitName(name);
    FUZZ_CHECK(parts.TextPart + parts.DigitRun + parts.Extension == name);
    for (const char c : parts.DigitRun)
        FUZZ_CHECK(IsDigit(c));
    FUZZ_CHECK(parts.TextPart.empty() || !IsDigit(parts.TextPart.back()));
    FUZZ_CHECK(parts.Extension.empty() ||
               (parts.Extension[0] == '.' && parts.Extension.find('.', 1) == std::string::npos));
    if (parts.Extension.empty())
        FUZZ_CHECK(name.find('.') == std::string::npos);

    std::string result;
    bool threw = false;
    try {
        result = ComposeNewName(name, o, number);
    } catch (const EConvertError&) {
        threw = true;
    }
    FUZZ_CHECK(threw == (o.PadDigits && Overflows(parts.DigitRun)));
    if (threw)
        return 0;

    // Every byte of the result comes from the name, the typed texts, digits, "-" or ".";
    // so a "/" appears only when one of those holds one.
    const bool slashGiven = name.find('/') != std::string::npos ||
                            (o.ChangeText && o.NewText.find('/') != std::string::npos) ||
                            (o.ChangeExt && o.NewExt.find('/') != std::string::npos);
    if (!slashGiven)
        FUZZ_CHECK(result.find('/') == std::string::npos);

    const std::string text = o.ChangeText ? o.NewText : parts.TextPart;
    FUZZ_CHECK(result.compare(0, text.size(), text) == 0);

    // The extension: the typed one, or the name's own with only ASCII letters lowered and
    // ".jpeg" shortened, as asked.
    std::string ext = parts.Extension;
    if (o.ExtLowerCase)
        for (char& c : ext)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
    if (o.JpegToJpg && ext == ".jpeg")
        ext = ".jpg";
    if (o.ChangeExt)
        ext = o.NewExt.empty() ? "" : "." + o.NewExt;
    FUZZ_CHECK(result.size() >= text.size() + ext.size() &&
               result.compare(result.size() - ext.size(), ext.size(), ext) == 0);
    // Between text and extension sits the digit run, padded or as it was.
    const std::string middle = result.substr(text.size(), result.size() - text.size() - ext.size());
    if (!o.Sequential) {
        for (const char c : middle)
            FUZZ_CHECK(IsDigit(c));
        if (!o.PadDigits)
            FUZZ_CHECK(middle == parts.DigitRun);
        // Padding never changes the value of the run.
        if (o.PadDigits && !parts.DigitRun.empty())
            FUZZ_CHECK(ParseInteger(middle) == ParseInteger(parts.DigitRun));
    }
    // With nothing asked for, the name stays as it is.
    if (!o.ChangeText && !o.PadDigits && !o.Sequential && !o.ChangeExt &&
        !o.ExtLowerCase && !o.JpegToJpg)
        FUZZ_CHECK(result == name);
    return 0;
}
