#pragma once
// Which folder Dir1 opens at start: the one named on the command line, else the settings' start
// folder, else, for a program installed where the user can't write, the user's pictures folder
// or home folder rather than the program's own. Empty keeps the program folder.
#include <string>

struct StartFolderFacts {
    std::string CommandLine;            // absolute, raw bytes; empty when none was named
    std::string Settings;               // the settings' start folder; empty when none
    bool ProgramFolderWritable = true;
    std::string Pictures;               // empty when the user has no pictures folder
    std::string Home;                   // empty when unknown
};

std::string ChooseOpeningFolder(const StartFolderFacts& facts);

// The choice for this process, with the folders looked up only when they decide it.
std::string OpeningFolder(const std::string& commandLine, const std::string& settings,
                          const std::string& programFolder);
