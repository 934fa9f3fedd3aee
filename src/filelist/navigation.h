#pragma once
// Moving between folders without any widget: which volume holds a folder, the folder last
// visited on each volume, what a path the user gave resolves to, the silent fallback
// listing used when a folder can't be opened, and the step to the next folder.
#include "filelist/folderlisting.h"
#include "platform/volumes.h"

#include <map>
#include <string>
#include <vector>

class FolderNavigation {
public:
    void SetVolumes(std::vector<platform::Volume> volumes) { volumes_ = std::move(volumes); }
    const std::vector<platform::Volume>& Volumes() const { return volumes_; }

    // The mount point that holds the folder: the longest one it lies under, else "/".
    std::string VolumeOf(const std::string& folder) const;
    // Remembers the folder as the last one visited on its volume.
    void Visited(const std::string& folder);
    // Choosing a volume opens the folder last visited on it in this run, else its mount point.
    std::string FolderToOpenOn(const std::string& volume) const;

private:
    std::vector<platform::Volume> volumes_;
    std::map<std::string, std::string> lastFolderOnVolume_;
};

// The folder a switch to path opens: path resolved against current (an absolute folder,
// or empty for the process's folder) and normalised; a path naming a file gives its folder.
// Throws EFileError unless that folder can be entered.
std::string ResolveFolder(const std::string& path, const std::string& current);

// The listing of a folder, or the folder with no names when it can't be read: the fallback
// shows nothing rather than stale names.
FolderListing ListingOrNothing(const std::string& folder);

// The step to the next folder goes through the parent: the folder list is switched to the
// parent first, and the next folder is then picked among the parent's rows.
//
// The parent text of a folder: everything before its last "/" ("" for a folder directly
// under "/", and "/" itself for the root, whose step changes nothing).
std::string NextFolderParentText(const std::string& folder);
// The folder the parent text names: "/" for the empty text.
std::string NextFolderParent(const std::string& parentText);
// The row to open once the folder list shows the parent. rowNames are the bare names of
// the list's rows ("/" for the root row) and selectedRow the parent's own row. A row from
// selectedRow on matches when parentText + "/" + its name is the folder, byte for byte;
// the row after the last match is the target, the first subfolder after the last row, and
// row 0 (the root) when no row matches or there is no row to open.
int NextFolderRow(const std::string& folder, const std::string& parentText,
                  const std::vector<std::string>& rowNames, int selectedRow);
