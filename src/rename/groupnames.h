#pragma once
// The new names of the files a run renames together: a photo's as every file's, its
// companions' from the photo's new name.
#include "rename/companions.h"
#include "rename/naming.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

// Progress of a run: n of t groups (photos), n counting from 1.
using RunProgress = std::function<void(int n, int t)>;

struct GroupNames {
    std::vector<std::string> Names; // Names[j]: the new name of row groups.Rows[j]
    std::size_t Groups = 0;         // how many groups, from the first, have their names
    std::exception_ptr Failure;     // set when the next group's photo could not be named
};

// Only photos take sequence numbers, in the groups' order. A companion named by the photo's
// base name gets the photo's new base name + its own extension (lower-cased with
// ExtLowerCase; a new extension and the JPEG rule are the photo's alone); one named by the
// photo's whole name gets the photo's new name + its own extension as it is, and one whose
// base name is another member's old whole name (a RAW file's own ".xmp") that member's new
// name + its own extension as it is. Progress, when given, before each photo. Stops at the
// first photo whose name can't be composed.
GroupNames ComposeGroupNames(const std::vector<std::string>& names, const FileGroups& groups,
                             const RenameOptions& options, int32_t firstNumber,
                             const RunProgress& progress);
