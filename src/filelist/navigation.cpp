#include "filelist/navigation.h"

#include "base/errors.h"
#include "base/paths.h"
#include "platform/filesystem.h"

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
