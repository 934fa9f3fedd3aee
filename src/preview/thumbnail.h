#pragma once
// Where the preview picture goes and which row it shows: pure logic for the main window.
#include <string>
#include <vector>

namespace preview {

constexpr int PanelWidth = 84;
constexpr int PanelHeight = 87;
// The long side of the picture box.
constexpr int BoxSide = 80;

struct PictureBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PictureBox&) const = default;
};

// The box for an image of the given header size (both > 0), its long side 80 and the other
// side rounded half to even from the side ratio times 80, centred in the panel by integer
// halves. Very long images get a flat box (161 x 1 gives 80 x 0).
PictureBox PictureBoxFor(int imageWidth, int imageHeight, int panelWidth = PanelWidth,
                         int panelHeight = PanelHeight);

// True when the name's extension (from its last ".") is ".jpg" in any ASCII letter case.
bool PassesJpegTest(const std::string& name);
// True when the name's extension, lower-cased in A to Z, is ".jpg", ".heic", ".heif", ".avif"
// or that of a raw file: the photos the preview steps through.
bool PassesPictureTest(const std::string& name);

// What a preview operation decided: the row to load (-1: none, the picture stays hidden)
// and the new preview index.
struct PreviewChoice {
    int row = -1;
    int previewIndex = 0;
    bool operator==(const PreviewChoice&) const = default;
};

// The show-first operation (the 画像表示 button). Nothing happens unless some selected row
// passes the picture test; then the topmost selected row is loaded, whatever its extension.
// names and selected are the rows of the current-name list, of equal length.
PreviewChoice ShowFirst(const std::vector<std::string>& names, const std::vector<bool>& selected,
                        int previewIndex);

// The step operation (a press on the preview): from the row after previewIndex on, the first
// selected row is loaded provided a selected row passing the picture test lies at or after it;
// otherwise the stepping has run out and the index goes back to 0 (so row 0 comes back only
// through ShowFirst).
PreviewChoice Step(const std::vector<std::string>& names, const std::vector<bool>& selected,
                   int previewIndex);

} // namespace preview
