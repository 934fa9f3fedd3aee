#pragma once
// How one new file name is formed from a current one. Pure: no user interface, no files.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <string_view>

// TextPart + DigitRun + Extension is always the name it was split from, byte for byte.
struct NameParts {
    std::string TextPart;  // the base name without its digit run
    std::string DigitRun;  // trailing ASCII digits of the base name
    std::string Extension; // the last "." and what follows it; empty when there is no "."
};

NameParts SplitName(const std::string& name);

// The option values of one trial run or execution.
struct RenameOptions {
    bool ChangeText = false; std::string NewText;
    bool PadDigits = false;  int DigitCount = 3;
    bool Sequential = false;
    bool ExtLowerCase = false, JpegToJpg = false;
    bool ChangeExt = false;  std::string NewExt;
    // By row of the list, when given: each photo's own text part (from its capture time) in
    // place of NewText, or none for a file that keeps its name, though it still takes its
    // sequence number. Shared, so that copies of the options cost nothing.
    std::shared_ptr<const std::vector<std::optional<std::string>>> TextParts;
    // By row of the list, when given: true at a photo where the sequence number starts again
    // at the first number (the day counter).
    std::shared_ptr<const std::vector<bool>> Restarts;
};

// The new name of one file. Throws EConvertError when PadDigits is set and the digit run's
// value does not fit a 32-bit integer.
std::string ComposeNewName(const std::string& name, const RenameOptions& options,
                           int32_t sequenceNumber);
// The same with this file's own text part (a name made from its capture time, say) in place
// of the text part, whatever ChangeText and NewText say.
std::string ComposeNewName(const std::string& name, const RenameOptions& options,
                           int32_t sequenceNumber, std::string_view textPart);
