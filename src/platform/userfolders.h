#pragma once
// Where this user's own files go when the program's folder is not theirs to write.
#include <optional>
#include <string>

namespace platform {

// True when this process, with its effective rights, may create files in folder. Root that
// has given up its permission override counts as a user.
bool FolderWritable(const std::string& folder);

// Creates folder and any missing parents, new ones readable by the user alone. Returns 0 on
// success (also when it already exists as a folder), else the errno value of the failure.
int MakeFolders(const std::string& folder);

// The value of an environment variable; nullopt when it is not set.
std::optional<std::string> EnvironmentValue(const char* name);

// $HOME, else the home folder of the user's password entry; empty when neither is known.
std::string HomeFolder();

// The user's pictures folder (XDG user dirs) when it exists as a folder, else empty.
std::string PicturesFolder();

} // namespace platform
