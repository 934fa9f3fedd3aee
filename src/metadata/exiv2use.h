#pragma once
// Exiv2 for the metadata room's own sources. Its 0.27 headers use std::auto_ptr, which C++20
// deprecates: the warning is theirs, not ours.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

#include <string>

namespace metadata {

// Sets Exiv2 up once for the whole program, from any thread: ISO base media on, XMP ready for
// several threads, its warnings silent (a damaged file is no news to the user).
void UseExiv2();

// The text of an ASCII tag up to its first NUL; empty when absent.
std::string ExifText(const Exiv2::ExifData& data, const char* key);

} // namespace metadata
