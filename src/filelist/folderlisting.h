#pragma once
// The folder listing: the names of one folder's visible files, in the fixed listing order.
#include <string>
#include <vector>

struct FolderListing {
    std::string Folder;
    std::vector<std::string> Names;

    // Reads Folder again; throws EFileError (and keeps the old names) when it can't be read.
    void Read();
};
