#pragma once
// Starting other programs: detached, never through a shell.
#include <string>

namespace platform {

// Starts program with exactly one argument (raw bytes, spaces and all) in workingFolder
// (empty: this process's current folder), without waiting for it. A program name without
// "/" is looked up on PATH. The child is reaped in the background, so none stays a zombie.
// Returns false when the program could not be started; nothing is reported.
bool LaunchProgram(const std::string& program, const std::string& argument,
                   const std::string& workingFolder);

} // namespace platform
