#pragma once
// The fixed order of the folder listing and the folder list: letter case ignored first,
// then case-sensitive, then raw bytes, so any two different names have one order.
#include <string>
#include <vector>

bool ListingLess(const std::string& a, const std::string& b);
void SortListing(std::vector<std::string>& names);
