#pragma once
// Letter case as the program folds it: A to Z only, every other byte as it is.
#include <string>

inline std::string AsciiLower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}
