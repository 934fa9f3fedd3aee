#pragma once
// Whole numbers typed by the user or read from the settings file, and the progress counter.
// Pure byte-string functions, shared by renaming, settings and every window.
#include "base/errors.h"

#include <cstdint>
#include <string>

// Raised by ParseInteger; what() is "'<text>' は整数ではありません".
class EConvertError : public PelkorinError {
public:
    using PelkorinError::PelkorinError;
};

// Strict parse: leading spaces, then [+|-]decimal digits in the int32 range, or "$" and hex
// digits fitting 32 bits (read as a signed pattern). Nothing may follow. Throws EConvertError.
int32_t ParseInteger(const std::string& s);

// The progress counter "nnn/ttt": each number as the last three characters of "000" + number.
std::string FormatCounter(int n, int t);
