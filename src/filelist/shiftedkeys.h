#pragma once
// The clock offset on the keys of the capture-date sort: the order stays (every capture time
// moves alike, the files without one follow), the capture times shown move with the offset.
#include <cstdint>
#include <string>
#include <vector>

// Each key that is a capture time's text ("YYYY:MM:DD HH:MM:SS.nnnnnnnnn") with offsetSeconds
// added; date keys of files without a capture time stay as they are.
void ShiftCaptureKeys(std::vector<std::string>& keys, int64_t offsetSeconds);
