#pragma once
// How a camera says its picture stands: the EXIF Orientation of the first image directory.
#include <string_view>

// 1 to 8 as the EXIF Orientation of the bytes of a file's start says (only the first
// kCaptureBytesLimit bytes count, as for the capture time); 1 (as stored) when there is none
// or it is no such value.
int ExifOrientationFromBytes(std::string_view start);

// Orientations 5 to 8 stand the picture on its side: its width and height change places.
constexpr bool OrientationSwapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}
