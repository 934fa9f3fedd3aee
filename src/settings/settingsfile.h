#pragma once
// Pelkorin.ini: the start-up options, 25 lines beside the executable. Values sit at fixed
// line numbers; the odd lines are headers that the reader never looks at.
#include "base/errors.h"

#include <array>
#include <optional>
#include <string>

inline constexpr int kSettingsLines = 25;
using SettingsLinesArray = std::array<std::string, kSettingsLines>;

// What the options dialog saves.
struct SettingsValues {
    std::string StartFolder; bool ChangeText = true, PadDigits = true, Sequential = false;
    int DigitCount = 3; std::string ExtLowerCase = "off", JpegToJpg = "off";
    bool ChangeExt = false; std::string ViewerPath; int Left = 0, Top = 0;
    std::string BaseNumber = "0";
};

// Which accepted marker line 0 holds; None when it holds neither.
enum class SettingsMarker { None, Ver07, Ver09 };

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

// The 25 lines of a new settings file, each ending in CR LF, headers in Shift-JIS.
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
