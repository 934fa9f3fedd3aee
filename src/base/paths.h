#pragma once
// Paths as raw bytes: folders are absolute, "/" separated, with no trailing "/" except the
// root "/". Lexical only: symbolic links stay as the user named them.
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
// The folder with the separator a file name follows: "/a/b" -> "/a/b/", "/" -> "/".
std::string FolderPrefix(const std::string& folder);
// True when path is folder or lies below it; every absolute path lies below "/".
bool FolderIsUnder(const std::string& path, const std::string& folder);
