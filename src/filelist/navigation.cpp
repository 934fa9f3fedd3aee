#include "filelist/navigation.h"

#include "base/errors.h"
#include "base/paths.h"
#include "platform/filesystem.h"

#include <algorithm>

std::string FolderNavigation::VolumeOf(const std::string& folder) const
{
    std::string best = "/";
    for (const platform::Volume& v : volumes_)
        if (FolderIsUnder(folder, v.MountPoint) && v.MountPoint.size() > best.size())
            best = v.MountPoint;
    return best;
}

void FolderNavigation::Visited(const std::string& folder)
{
    lastFolderOnVolume_[VolumeOf(folder)] = folder;
}

std::string FolderNavigation::FolderToOpenOn(const std::string& volume) const
{
    const auto last = lastFolderOnVolume_.find(volume);
    return last != lastFolderOnVolume_.end() ? last->second : volume;
}

std::string ResolveFolder(const std::string& path, const std::string& current)
{
    std::string target = NormalizeFolderPath(path, current.empty() ? platform::CurrentFolder() : current);
    if (!platform::IsFolder(target) && platform::FileExists(target))
        target = ParentFolder(target);
    platform::CheckFolderEnterable(target);
    return target;
}

FolderListing ListingOrNothing(const std::string& folder)
{
    FolderListing listing{folder, {}};
    try {
        listing.Read();
    } catch (const EFileError&) {
        listing.Names.clear();
    }
    return listing;
}

std::string NextFolderParentText(const std::string& folder)
{
    if (folder == "/")
        return folder;
    const std::size_t slash = folder.rfind('/');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

std::string NextFolderParent(const std::string& parentText)
{
    return parentText.empty() ? std::string("/") : parentText;
}

int NextFolderRow(const std::string& folder, const std::string& parentText,
                  const std::vector<std::string>& rowNames, int selectedRow)
{
    const int last = static_cast<int>(rowNames.size()) - 1;
    int target = 0;
    // A subfolder named like its parent (Photos/Photos) matches the parent's own row too;
    // the later match, its own row, wins.
    for (int r = std::max(selectedRow, 0); r <= last; ++r) {
        if (parentText + "/" + rowNames[static_cast<std::size_t>(r)] == folder)
            target = r + 1 > last ? selectedRow + 1 : r + 1;
    }
    // Only the parent's own row matched and the parent has no subfolder left (the folder
    // itself is gone): there is no row to open, so it goes as when nothing matches.
    return target > last ? 0 : target;
}
