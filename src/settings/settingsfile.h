#pragma once
// Pelkorin.ini: the start-up options, 25 lines beside the executable. Values sit at fixed
// line numbers; the odd lines are headers that the reader never looks at.
#include "base/errors.h"

#include <array>
#include <optional>
#include <string>
#include <utility>

inline constexpr int kSettingsLines = 25;
using SettingsLinesArray = std::array<std::string, kSettingsLines>;

// Which accepted marker line 0 holds; None when it holds neither.
enum class SettingsMarker { None, Ver07, Ver09 };

// A number of the settings file. One the program sets is its decimal text; one read from the
// file keeps the line as it stands, for the reader to convert (ParseInteger) at the step that
// uses it, so a line that is no number stops start-up there and not before.
struct SettingsNumber {
    SettingsNumber(int value = 0) : Text(std::to_string(value)) {}
    explicit SettingsNumber(std::string text) : Text(std::move(text)) {}
    std::string Text;
    bool operator==(const SettingsNumber&) const = default;
};

// The settings as the program uses them: what "登録" saves and what start-up and the options
// dialog read. Flags are bool here; "on"/"off" is only the file's form.
struct SettingsValues {
    SettingsMarker Marker = SettingsMarker::Ver09; // the file's; a written file has Ver09
    std::string StartFolder;                       // raw bytes
    bool ChangeText = false, PadDigits = false, Sequential = false;
    SettingsNumber DigitCount = 3;
    bool ExtLowerCase = false, JpegToJpg = false, ChangeExt = false;
    std::string ViewerPath;                        // raw bytes
    SettingsNumber Left = 0, Top = 0;
    std::string BaseNumber = "0";
    bool operator==(const SettingsValues&) const = default;
};

struct SettingsRead {
    SettingsLinesArray Lines;
    SettingsMarker Marker = SettingsMarker::None;
};

// Splits file contents into lines the way the reader takes them: line 0 always, lines 1-22
// only under an accepted marker, lines 23-24 only under "Pelkorin Ver0.9"; the rest stay empty.
SettingsRead ParseSettings(const std::string& bytes);

// FolderPrefix(programFolder) + "Pelkorin.ini"; reader and writer both use it.
std::string SettingsPath(const std::string& programFolder);

// nullopt when there is no settings file. Throws EFileError when it exists but can't be read.
std::optional<SettingsRead> ReadSettingsFile(const std::string& programFolder);

// The values the lines stand for: each flag is on only when its line is exactly "on"; a line
// the marker does not cover reads as empty. DecodeSettings(ParseSettings(BuildSettingsText(v)))
// gives v back whenever the texts are storable (UnstorableSettingsValue) and v.Marker is Ver09.
SettingsValues DecodeSettings(const SettingsRead& read);

// The 25 lines of a new settings file, each ending in CR LF, headers in Shift-JIS; always
// under the "Pelkorin Ver0.9" marker.
std::string BuildSettingsText(const SettingsValues& v);

// A value holds a byte the file cannot carry (it has no escapes): CR, LF or Ctrl-Z.
class ESettingsValueError : public PelkorinError {
public:
    using PelkorinError::PelkorinError;
};

// The message to show when one of the texts the file stores (start folder, viewer path, base
// number) can't be written back unchanged; nullopt when all of them can.
std::optional<std::string> UnstorableSettingsValue(const SettingsValues& v);

// Replaces the settings file as a whole. Throws EFileError; an old file then stays intact.
// Throws ESettingsValueError, writing nothing, when UnstorableSettingsValue has a message.
void WriteSettingsFile(const std::string& programFolder, const SettingsValues& v);

// A flag text is on only when it is exactly "on".
bool FlagOn(const std::string& text);
const char* FlagText(bool on);
