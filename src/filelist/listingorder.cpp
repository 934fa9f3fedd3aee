#include "filelist/listingorder.h"

#include "base/ascii.h"

#include <algorithm>
#include <compare>

bool ListingLess(const std::string& a, const std::string& b)
{
    // Bytes compare unsigned, so names that are not ASCII sort after the letters.
    const auto folded = std::lexicographical_compare_three_way(
        a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return AsciiLower(static_cast<unsigned char>(x)) <=> AsciiLower(static_cast<unsigned char>(y));
        });
    if (folded != 0)
        return folded < 0;
    // Names equal apart from case: by bytes, so upper case comes first.
    return a < b;
}

void SortListing(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(), ListingLess);
}
