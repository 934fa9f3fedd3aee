#include "settings/settingsfile.h"

#include "platform/filesystem.h"
#include "platform/statefile.h"
#include "base/paths.h"

#include <string_view>

namespace {

constexpr std::string_view kMarker07 = "Pelkorin Ver0.7";
constexpr std::string_view kMarker09 = "Pelkorin Ver0.9";

// Larger than any settings file the program writes by far; only guards against reading a
// huge file put there by mistake.
constexpr std::size_t kMaxSettingsBytes = 64u * 1024 * 1024;

// The headers of the odd lines, as Shift-JIS bytes so the file matches those written on
// Windows. Each byte is escaped so no following letter can join a hex escape.
constexpr const char* kHeaders[12] = {
    "\x5b\x8b\x4e\x93\xae\x83\x74\x83\x48\x83\x8b\x83\x5f\x5d",                         // [起動フォルダ]
    "\x5b\x95\xb6\x8e\x9a\x97\xf1\x95\xcf\x8d\x58\x5d",                                 // [文字列変更]
    "\x5b\x90\x94\x97\xf1\x8c\x85\x90\x94\x92\xb2\x90\xae\x5d",                         // [数列桁数調整]
    "\x5b\x90\x94\x97\xf1\x98\x41\x94\xd4\x90\xdd\x92\xe8\x5d",                         // [数列連番設定]
    "\x5b\x90\x94\x97\xf1\x8c\x85\x90\x94\x90\xdd\x92\xe8\x5d",                         // [数列桁数設定]
    "\x5b\x8a\x67\x92\xa3\x8e\x71\x8f\xac\x95\xb6\x8e\x9a\x90\xdd\x92\xe8\x5d",         // [拡張子小文字設定]
    "\x5b\x8a\x67\x92\xa3\x8e\x71\x6a\x70\x67\x90\xdd\x92\xe8\x5d",                     // [拡張子jpg設定]
    "\x5b\x8a\x67\x92\xa3\x8e\x71\x95\xcf\x8d\x58\x90\xdd\x92\xe8\x5d",                 // [拡張子変更設定]
    "\x5b\x8a\x4f\x95\x94\x83\x72\x83\x85\x83\x41\x81\x5b\x90\xdd\x92\xe8\x5d",         // [外部ビュアー設定]
    "\x5b\x95\x5c\x8e\xa6\x90\x85\x95\xbd\x88\xca\x92\x75\x5d",                         // [表示水平位置]
    "\x5b\x95\x5c\x8e\xa6\x90\x82\x92\xbc\x88\xca\x92\x75\x5d",                         // [表示垂直位置]
    "\x5b\x98\x41\x94\xd4\x82\xcc\x8a\xee\x8f\x80\x94\xd4\x8d\x86\x5d",                 // [連番の基準番号]
};

// Reads text lines: a line ends at CR, an LF right after it is skipped, a lone LF is an
// ordinary byte, and Ctrl-Z ends the data like the end of the file does.
class LineReader {
public:
    explicit LineReader(std::string_view data) : data_(data) {}

    std::string Next()
    {
        if (pos_ >= data_.size())
            return {};
        const std::size_t end = data_.find_first_of(std::string_view("\r\x1a", 2), pos_);
        if (end == std::string_view::npos) {
            std::string line(data_.substr(pos_));
            pos_ = data_.size();
            return line;
        }
        std::string line(data_.substr(pos_, end - pos_));
        if (data_[end] == '\x1a') {
            pos_ = data_.size();
        } else {
            pos_ = end + 1;
            if (pos_ < data_.size() && data_[pos_] == '\n')
                ++pos_;
        }
        return line;
    }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

} // namespace

bool FlagOn(const std::string& text)
{
    return text == "on";
}

const char* FlagText(bool on)
{
    return on ? "on" : "off";
}

SettingsRead ParseSettings(const std::string& bytes)
{
    SettingsRead read;
    LineReader reader(bytes);
    read.Lines[0] = reader.Next();
    if (read.Lines[0] == kMarker09)
        read.Marker = SettingsMarker::Ver09;
    else if (read.Lines[0] == kMarker07)
        read.Marker = SettingsMarker::Ver07;
    else
        return read;
    const int lastLine = read.Marker == SettingsMarker::Ver09 ? 24 : 22;
    for (int i = 1; i <= lastLine; ++i)
        read.Lines[i] = reader.Next();
    return read;
}

std::string SettingsPath(const std::string& programFolder)
{
    return FolderPrefix(programFolder) + "Pelkorin.ini";
}

std::optional<SettingsRead> ReadSettingsFile(const std::string& programFolder)
{
    const std::string path = SettingsPath(programFolder);
    if (!platform::FileExists(path))
        return std::nullopt;
    return ParseSettings(platform::ReadWholeFile(path, kMaxSettingsBytes));
}

SettingsValues DecodeSettings(const SettingsRead& read)
{
    const SettingsLinesArray& l = read.Lines;
    SettingsValues v;
    v.Marker = read.Marker;
    v.StartFolder = l[2];
    v.ChangeText = FlagOn(l[4]);
    v.PadDigits = FlagOn(l[6]);
    v.Sequential = FlagOn(l[8]);
    v.DigitCount = SettingsNumber(l[10]);
    v.ExtLowerCase = FlagOn(l[12]);
    v.JpegToJpg = FlagOn(l[14]);
    v.ChangeExt = FlagOn(l[16]);
    v.ViewerPath = l[18];
    v.Left = SettingsNumber(l[20]);
    v.Top = SettingsNumber(l[22]);
    v.BaseNumber = l[24];
    return v;
}

std::string BuildSettingsText(const SettingsValues& v)
{
    const std::string values[12] = {
        v.StartFolder,
        FlagText(v.ChangeText),
        FlagText(v.PadDigits),
        FlagText(v.Sequential),
        v.DigitCount.Text,
        FlagText(v.ExtLowerCase),
        FlagText(v.JpegToJpg),
        FlagText(v.ChangeExt),
        v.ViewerPath,
        v.Left.Text,
        v.Top.Text,
        v.BaseNumber,
    };
    std::string text(kMarker09);
    text += "\r\n";
    for (int i = 0; i < 12; ++i) {
        text += kHeaders[i];
        text += "\r\n";
        text += values[i];
        text += "\r\n";
    }
    return text;
}

std::optional<std::string> UnstorableSettingsValue(const SettingsValues& v)
{
    // CR and Ctrl-Z end a line or the data on reading. A lone LF would read back, but it is
    // refused as well so the file stays one value a line for anyone who opens it.
    constexpr std::string_view kUnstorable("\r\n\x1a", 3);
    const struct {
        const char* name;
        const std::string& value;
    } texts[] = {
        {"起動フォルダ", v.StartFolder},
        {"外部ビュアー", v.ViewerPath},
        {"連番の基準番号", v.BaseNumber},
    };
    for (const auto& t : texts) {
        if (t.value.find_first_of(kUnstorable) != std::string::npos)
            return std::string("「") + t.name +
                   "」に改行または Ctrl-Z の文字が含まれているため、設定を保存できません";
    }
    return std::nullopt;
}

void WriteSettingsFile(const std::string& programFolder, const SettingsValues& v)
{
    if (const std::optional<std::string> message = UnstorableSettingsValue(v))
        throw ESettingsValueError(*message);
    platform::WriteFileReplacing(SettingsPath(programFolder), BuildSettingsText(v));
}
