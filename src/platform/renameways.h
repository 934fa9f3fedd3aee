#pragma once
// Which ways a rename may take to refuse an existing name.

namespace platform {

// The program always starts with RENAME_NOREPLACE. Without it every rename takes the hard link
// (or, where links are missing, the exclusive claim) from the start, as on a file system that
// refuses RENAME_NOREPLACE: how tests reach those paths on any disk.
struct RenameWays {
    bool NoReplace = true;
};

} // namespace platform
