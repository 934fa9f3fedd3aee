#include "preview/thumbnail.h"

#include "base/ascii.h"
#include "rename/companions.h"

#include <algorithm>
#include <cmath>

namespace preview {

namespace {

// Nearest integer, an exact half going to the even neighbour.
int RoundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double result = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0))
        result += 1.0;
    return static_cast<int>(result);
}

bool IsSelectedJpeg(const std::vector<std::string>& names, const std::vector<bool>& selected,
                    std::size_t row)
{
    return selected[row] && PassesPictureTest(names[row]);
}

} // namespace

PictureBox PictureBoxFor(int imageWidth, int imageHeight, int panelWidth, int panelHeight)
{
    PictureBox box;
    if (imageWidth > imageHeight) {
        box.width = BoxSide;
        const double ratio = static_cast<double>(imageHeight) / imageWidth;
        box.height = RoundHalfEven(ratio * BoxSide);
    } else {
        box.height = BoxSide;
        const double ratio = static_cast<double>(imageWidth) / imageHeight;
        box.width = RoundHalfEven(ratio * BoxSide);
    }
    box.top = panelHeight / 2 - box.height / 2;
    box.left = panelWidth / 2 - box.width / 2;
    return box;
}

bool PassesJpegTest(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || name.size() - dot != 4)
        return false;
    return AsciiLower(name.substr(dot)) == ".jpg";
}

bool PassesPictureTest(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    const std::string extension = AsciiLower(name.substr(dot + 1));
    return extension == "jpg" || extension == "heic" || extension == "heif" || extension == "avif" ||
           IsRawExtension(extension);
}

PreviewChoice ShowFirst(const std::vector<std::string>& names, const std::vector<bool>& selected,
                        int previewIndex)
{
    const std::size_t count = std::min(names.size(), selected.size());
    bool anyJpeg = false;
    for (std::size_t row = 0; row < count && !anyJpeg; ++row)
        anyJpeg = IsSelectedJpeg(names, selected, row);
    if (!anyJpeg)
        return {-1, previewIndex};
    for (std::size_t row = 0; row < count; ++row)
        if (selected[row])
            return {static_cast<int>(row), static_cast<int>(row)};
    return {-1, previewIndex};  // not reached: a selected JPEG row exists
}

PreviewChoice Step(const std::vector<std::string>& names, const std::vector<bool>& selected,
                   int previewIndex)
{
    const long long count = static_cast<long long>(std::min(names.size(), selected.size()));
    const long long candidate = std::max(0LL, static_cast<long long>(previewIndex) + 1);
    bool anyJpeg = false;
    for (long long row = candidate; row < count && !anyJpeg; ++row)
        anyJpeg = IsSelectedJpeg(names, selected, static_cast<std::size_t>(row));
    if (!anyJpeg)
        return {-1, 0};
    for (long long row = candidate; row < count; ++row)
        if (selected[static_cast<std::size_t>(row)])
            return {static_cast<int>(row), static_cast<int>(row)};
    return {-1, 0};  // not reached
}

} // namespace preview
