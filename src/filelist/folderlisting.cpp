#include "filelist/folderlisting.h"

#include "filelist/listingorder.h"
#include "platform/filesystem.h"

void FolderListing::Read()
{
    platform::FolderEntries entries = platform::ListFolder(Folder);
    SortListing(entries.Files);
    SortListing(entries.Subfolders);
    Names = std::move(entries.Files);
    Subfolders = std::move(entries.Subfolders);
}
