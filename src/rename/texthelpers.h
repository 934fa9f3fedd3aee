#pragma once
// Small pure text functions used throughout the program. Texts are byte strings held as
// UTF-8; characters are counted as code points, and a byte that belongs to no valid UTF-8
// sequence counts as one character of its own, so no helper ever cuts a character in two.
#include "base/numbers.h" // EConvertError, ParseInteger, FormatCounter
#include "base/paths.h"   // FolderPrefix

#include <string>

// Number of characters of s.
int CharLength(const std::string& s);
// The first n characters of s; the whole text when n is beyond the end, empty when n <= 0.
std::string CharLeft(const std::string& s, int n);
// The last n characters of s; the whole text when n is beyond the end, empty when n <= 0.
std::string CharRight(const std::string& s, int n);
// count characters from the 1-based position start. A start past the end is moved back to
// the last character; a start of 0 or less, or a count that leaves nothing, gives "".
std::string CharMid(const std::string& s, int start, int count);
