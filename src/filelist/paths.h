#pragma once
// Folder paths as the folder list holds them: absolute, "/" separated, no trailing "/"
// except the root "/". Lexical only: symbolic links stay as the user named them.
#include <string>
#include <vector>

// Resolves path against base (an absolute folder) and removes ".", ".." and repeated "/".
std::string NormalizeFolderPath(const std::string& path, const std::string& base);
// "/a/b" -> "/a", "/a" -> "/", "/" -> "/".
std::string ParentFolder(const std::string& folder);
// "/a/b" -> {"a", "b"}; "/" -> {}.
std::vector<std::string> PathComponents(const std::string& folder);
// Appends a name: "/a" + "b" -> "/a/b", "/" + "b" -> "/b".
std::string JoinPath(const std::string& folder, const std::string& name);
// True when folder is mountPoint or lies below it.
bool FolderIsUnder(const std::string& folder, const std::string& mountPoint);
