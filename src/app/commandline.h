#pragma once
// The program's command line: pelkorin [FOLDER], --help and --version. Read before any window
// exists, so the answers need no display.
#include <string>

struct CommandLine {
    bool Exit = false;   // already answered (help, version or a mistake): end with ExitCode
    int ExitCode = 0;
    std::string Folder;  // FOLDER as raw bytes, made absolute; empty when none was given
};

// Reads argv; help, version and mistakes are printed here (standard output, standard error).
CommandLine ReadCommandLine(int argc, char* argv[]);
