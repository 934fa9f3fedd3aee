#pragma once
// Moving between folders without any widget: which volume holds a folder, the folder last
// visited on each volume, what a path the user gave resolves to, and the silent fallback
// listing used when a folder can't be opened.
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
