#pragma once
// Letter case as the program folds it: A to Z only, every other byte as it is.
#include <string>

inline unsigned char AsciiLower(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

inline std::string AsciiLower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(AsciiLower(static_cast<unsigned char>(c)));
    return s;
}
