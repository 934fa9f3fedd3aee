#include "filelist/folderlisting.h"

#include "filelist/listingorder.h"
#include "platform/filesystem.h"

void FolderListing::Read()
{
    std::vector<std::string> names = platform::ListFiles(Folder);
    SortListing(names);
    Names = std::move(names);
}
