#pragma once
// Names for the rows of table tests registered one by one (TEST_P), so that a failure names
// its row: the row's number, then its label with everything GoogleTest does not allow in a
// name (anything but ASCII letters and digits) turned into "_".
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

inline std::string RowName(std::size_t index, std::string_view label)
{
    char number[16];
    std::snprintf(number, sizeof number, "%02zu", index);
    std::string name = std::string(number) + "_";
    for (const char c : label.substr(0, 60)) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (plain)
            name += c;
        else if (name.back() != '_')
            name += '_';
    }
    return name;
}

// The name generator for INSTANTIATE_TEST_SUITE_P: labels each row with what label(row)
// gives.
template <typename Label>
auto RowNames(Label label)
{
    return [label](const auto& info) { return RowName(info.index, label(info.param)); };
}
