#pragma once
// Which ways a rename may take to refuse an existing name.

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// The temporary name of one rename told beforehand, so that a record can name it: its run's
// token and its index in the run. Token 0: a name of this process's own.
struct TemporaryStem {
    uint64_t Token = 0;
    std::size_t Index = 0;
};
// ".pelkorin-" + the token in 16 hex digits + "-" + the index.
std::string TemporaryStemText(TemporaryStem stem);

// The program always starts with RENAME_NOREPLACE. Without it every rename takes the hard link
// (or, where links are missing, the exclusive claim) from the start, as on a file system that
// refuses RENAME_NOREPLACE: how tests reach those paths on any disk.
struct RenameWays {
    bool NoReplace = true;
};

} // namespace platform
