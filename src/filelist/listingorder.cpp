#include "filelist/listingorder.h"

#include <algorithm>
#include <cstring>

namespace {
inline unsigned char FoldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

int CompareFolded(const std::string& a, const std::string& b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = FoldAscii(static_cast<unsigned char>(a[i]));
        unsigned char y = FoldAscii(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

bool ListingLess(const std::string& a, const std::string& b)
{
    int c = CompareFolded(a, b);
    if (c != 0)
        return c < 0;
    // Names equal apart from case: by bytes, so upper case comes first.
    return a < b;
}

void SortListing(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(), ListingLess);
}
