#pragma once
// Deleting the selected files of the list: which names go, in which order, and the count the
// progress reports. The window asks and shows; this only walks the names.
#include <functional>
#include <string>
#include <vector>

// Called before each selected file with its number n (from 1) of t selected files.
using DeletionProgress = std::function<void(int n, int t)>;

// Removes each selected name of the folder, in list order, permanently. A file that can't be
// removed (gone, no rights, now a folder) is passed over and still counted. A symbolic link
// goes as a link; the name is used byte for byte. Returns how many were removed.
int DeleteSelected(const std::string& folder, const std::vector<std::string>& names,
                   const std::vector<bool>& selected, const DeletionProgress& progress);
