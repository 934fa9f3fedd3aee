#pragma once
// What the execution will do with each row of a trial run, foreseen from one reading of the
// folder: the execution's own rules, replayed over the names instead of the disk.
#include "platform/foldersnapshot.h"

#include <cstdint>
#include <string>
#include <vector>

enum class Foresight : std::uint8_t {
    Fine,    // renamed, left as it is because the name does not change, or not selected
    Taken,   // reported: a file holds the new name when the execution gets there
    Refused, // the rename fails unreported: a folder or link of that name, an unsafe or too long name
};

// One verdict per trial row (rows[i] is the new name of names[i] when selected[i]), in list
// order, each rename that succeeds freeing its old name and taking its new one for the rows
// after it.
std::vector<Foresight> ForeseeRenames(const platform::FolderSnapshot& folder,
                                      const std::vector<std::string>& names,
                                      const std::vector<bool>& selected,
                                      const std::vector<std::string>& rows);

// The same for the folder as it stands now; nothing marked when it can't be read.
std::vector<Foresight> ForeseeRenamesIn(const std::string& folder,
                                        const std::vector<std::string>& names,
                                        const std::vector<bool>& selected,
                                        const std::vector<std::string>& rows);
