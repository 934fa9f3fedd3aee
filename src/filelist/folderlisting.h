#pragma once
// The folder listing: the names of one folder's visible files, in the fixed listing order,
// and its visible subfolders from the same read, for the folder list.
#include <string>
#include <vector>

struct FolderListing {
    std::string Folder;
    std::vector<std::string> Names;
    // Defaulted, so that {folder, names} still initialises a listing without a warning.
    std::vector<std::string> Subfolders = {};

    // Reads Folder again; throws EFileError (and keeps the old names) when it can't be read.
    void Read();
};
