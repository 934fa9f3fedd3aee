#pragma once
// Starting other programs: detached, never through a shell.
#include <functional>
#include <string>

namespace platform {

// Starts program with exactly one argument (raw bytes, spaces and all) in workingFolder
// (empty: this process's current folder), without waiting for it. A program name without
// "/" is looked up on PATH. The child is reaped in the background, so none stays a zombie.
// Returns false when the program could not be started; nothing is reported.
bool LaunchProgram(const std::string& program, const std::string& argument,
                   const std::string& workingFolder);

// One call of LaunchProgram as a watcher sees it.
struct LaunchAttempt {
    std::string program, argument, workingFolder;
    bool started = false;
};

// While a watcher is set (empty: none), every LaunchProgram call is passed to it on the
// calling thread once it is over, so tests know what was started and what was not without
// waiting for the started program.
void SetLaunchWatcher(std::function<void(const LaunchAttempt&)> watcher);

} // namespace platform
