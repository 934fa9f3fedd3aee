#pragma once
// Keys of the sorts by extension, by date and by capture date, and the orders they put the
// listing in.
// Keys are byte strings (file names are raw bytes); the padded numbers are plain ASCII.
#include "metadata/capturetime.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The name from its last "." to the end, the "." included; "" when the name has no ".".
// ".jpg", ".JPG" and ".jpeg" are three different keys.
std::string ExtensionKey(const std::string& name);

// A local time packed like a FAT date-and-time stamp: bits 25-31 year - 1980, 21-24 month,
// 16-20 day, 11-15 hour, 5-10 minute, 0-4 seconds / 2. From 2044 on the sign bit is set.
// -1 when the year lies outside 1980..2107 or a field is out of its range.
int32_t PackDateTime(const std::tm& local);

// The packed time in decimal, padded with zeros to twelve characters and cut to the last
// twelve: text order of valid keys before 2044 is time order; -1 gives "0000000000-1".
std::string DateKey(int32_t packed);

// DateKey of a file's last modification in local time; the key of -1 when the file can't be
// examined.
std::string DateKeyOfFile(const std::string& path);
// The same for a modification time already known.
std::string DateKeyOfTime(std::time_t modified);

// The index in decimal, zero-padded to five digits, or to the width of the largest index of a
// list of count rows when that is wider (so large folders never wrap).
std::string IndexText(std::size_t index, std::size_t count);

// Positions 0..n-1 ordered by their keys, ascending. Keys compare as locale-aware text in
// English collation, case-sensitive with lower case first (".jpg" before ".JPG"); different
// keys that still collate equal (say, two invalid UTF-8 sequences) are ordered by their bytes.
// Positions with equal keys keep their input order.
std::vector<std::size_t> StableOrderByKeys(const std::vector<std::string>& keys);

// Positions 0..n-1 in capture-date order: those with a capture time first, oldest first; then
// those without one, ordered by their date keys as StableOrderByKeys does. Equal times and
// equal keys keep their input order. dateKeyOf is asked only for positions without a time.
std::vector<std::size_t> CaptureOrder(const std::vector<std::optional<CaptureTime>>& times,
                                      const std::function<std::string(std::size_t)>& dateKeyOf);
