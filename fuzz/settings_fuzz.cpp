// The settings file as the reader takes it, from any bytes; and every set of values the
// writer accepts reads back unchanged.
#include "settings/settingsfile.h"

#include "check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool HasLineBreaker(const std::string& s)
{
    return s.find_first_of(std::string_view("\r\x1a", 2)) != std::string::npos;
}

void CheckParse(const std::string& bytes)
{
    const SettingsRead read = ParseSettings(bytes);
    // Line 0 is everything up to the first CR or Ctrl-Z.
    const std::size_t end = bytes.find_first_of(std::string_view("\r\x1a", 2));
    FUZZ_CHECK(read.Lines[0] == bytes.substr(0, end));
    const int last = read.Marker == SettingsMarker::Ver09   ? 24
                     : read.Marker == SettingsMarker::Ver07 ? 22
                                                            : 0;
    FUZZ_CHECK((read.Marker == SettingsMarker::Ver09) == (read.Lines[0] == "Pelkorin Ver0.9"));
    FUZZ_CHECK((read.Marker == SettingsMarker::Ver07) == (read.Lines[0] == "Pelkorin Ver0.7"));
    std::size_t total = 0;
    for (int i = 0; i < kSettingsLines; ++i) {
        FUZZ_CHECK(!HasLineBreaker(read.Lines[i]));
        if (i > last)
            FUZZ_CHECK(read.Lines[i].empty());
        total += read.Lines[i].size();
    }
    // Lines are cut from the data, never made up.
    FUZZ_CHECK(total <= bytes.size());
    // Whatever was read, written again under the newer marker, reads back the same.
    SettingsValues decoded = DecodeSettings(read);
    decoded.Marker = SettingsMarker::Ver09;
    if (!UnstorableSettingsValue(decoded))
        FUZZ_CHECK(DecodeSettings(ParseSettings(BuildSettingsText(decoded))) == decoded);
}

void CheckWriteThenRead(FuzzedDataProvider& in)
{
    SettingsValues v;
    v.StartFolder = in.ConsumeRandomLengthString(256);
    v.ViewerPath = in.ConsumeRandomLengthString(256);
    v.BaseNumber = in.ConsumeRandomLengthString(32);
    v.ExtLowerCase = FlagOn(in.ConsumeRandomLengthString(8));
    v.JpegToJpg = FlagOn(in.ConsumeRandomLengthString(8));
    v.ChangeText = in.ConsumeBool();
    v.PadDigits = in.ConsumeBool();
    v.Sequential = in.ConsumeBool();
    v.ChangeExt = in.ConsumeBool();
    const int digitCount = in.ConsumeIntegral<int>();
    const int left = in.ConsumeIntegral<int>();
    const int top = in.ConsumeIntegral<int>();
    v.DigitCount = digitCount;
    v.Left = left;
    v.Top = top;

    const bool storable = !UnstorableSettingsValue(v).has_value();
    const auto breaks = [](const std::string& s) {
        return s.find_first_of(std::string_view("\r\n\x1a", 3)) != std::string::npos;
    };
    FUZZ_CHECK(storable == !(breaks(v.StartFolder) || breaks(v.ViewerPath) || breaks(v.BaseNumber)));
    if (!storable)
        return;

    const std::string text = BuildSettingsText(v);
    FUZZ_CHECK(text.size() >= 2 && text.substr(text.size() - 2) == "\r\n");
    const SettingsRead read = ParseSettings(text);
    FUZZ_CHECK(read.Marker == SettingsMarker::Ver09);
    const SettingsLinesArray& l = read.Lines;
    FUZZ_CHECK(l[2] == v.StartFolder);
    FUZZ_CHECK(FlagOn(l[4]) == v.ChangeText);
    FUZZ_CHECK(FlagOn(l[6]) == v.PadDigits);
    FUZZ_CHECK(FlagOn(l[8]) == v.Sequential);
    FUZZ_CHECK(l[10] == std::to_string(digitCount));
    FUZZ_CHECK(l[12] == FlagText(v.ExtLowerCase));
    FUZZ_CHECK(l[14] == FlagText(v.JpegToJpg));
    FUZZ_CHECK(FlagOn(l[16]) == v.ChangeExt);
    FUZZ_CHECK(l[18] == v.ViewerPath);
    FUZZ_CHECK(l[20] == std::to_string(left));
    FUZZ_CHECK(l[22] == std::to_string(top));
    FUZZ_CHECK(l[24] == v.BaseNumber);
    // The decoder gives back what the encoder was given.
    FUZZ_CHECK(DecodeSettings(read) == v);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckParse(bytes);
    FuzzedDataProvider in(data, size);
    CheckWriteThenRead(in);
    return 0;
}
