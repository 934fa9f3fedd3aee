#pragma once
// Which files a run renames together. Without companions every selected file goes alone; with
// them a photo takes its RAW files and sidecars (a phone's live-photo movie and record of edits
// among them) along: the files of its folder named as its base name + "." + a companion
// extension (any ASCII letter case), or as its whole name + ".xmp" (any letter case); and each RAW file it takes brings the ".xmp" files named as that
// RAW file's whole name + ".xmp", where editors keep its edits. Pure: the names are the
// folder's files as the list holds them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The groups of one run, in the order the run takes them: by the list order of their photos.
// Each group is its photo's row, then its companions' rows in list order.
struct FileGroups {
    std::vector<std::uint32_t> Rows;
    // Group g holds Rows[Starts[g]] up to Rows[Starts[g + 1]] (not included).
    std::vector<std::uint32_t> Starts{0};
    // Selected rows in no group: a file that is a companion of a selected file that is itself
    // no photo. They keep their names.
    std::vector<std::uint32_t> Left;
    // One past the last row that is selected or in a group: how far the trial rows reach.
    std::size_t RowEnd = 0;

    std::size_t size() const { return Starts.size() - 1; }
    std::uint32_t PhotoOf(std::size_t g) const { return Rows[Starts[g]]; }
};

// Each selected row a group of its own, in list order.
FileGroups SingleFiles(const std::vector<bool>& selected);

// Photos and their companions. A photo is a selected file that is not a companion of another
// selected file; a companion belongs to the first photo in list order that names it. Two
// selected files with the same base name and companion extensions each name the other: of
// those the RAW file, else the first in list order, is the photo. A RAW companion's whole-name
// ".xmp" files not taken yet go with its photo too, never as photos of their own.
FileGroups PhotosWithCompanions(const std::vector<std::string>& names, const std::vector<bool>& selected);

// PhotosWithCompanions when companions go along, else SingleFiles.
FileGroups GroupFiles(const std::vector<std::string>& names, const std::vector<bool>& selected,
                      bool companions);

// True when ext (a file name's extension without its dot) is one of the raw extensions that
// go along as companions, in any ASCII letter case.
bool IsRawExtension(std::string_view ext);
