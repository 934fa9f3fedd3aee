#include "platform/launch.h"

#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>
#include <vector>

extern char** environ;

namespace platform {

bool LaunchProgram(const std::string& program, const std::string& argument,
                   const std::string& workingFolder)
{
    if (program.empty())
        return false;
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return false;
    if (!workingFolder.empty() &&
        posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str()) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return false;
    }
    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return false;
    }
    // The started program gets a default signal setup and its own process group, so a
    // Ctrl+C meant for this program doesn't reach it.
    sigset_t defaults;
    sigfillset(&defaults);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK |
                                              POSIX_SPAWN_SETPGROUP);

    std::vector<char> programText(program.begin(), program.end());
    programText.push_back('\0');
    std::vector<char> argumentText(argument.begin(), argument.end());
    argumentText.push_back('\0');
    char* argv[] = {programText.data(), argumentText.data(), nullptr};

    pid_t child = 0;
    const bool pathLookup = program.find('/') == std::string::npos;
    const int failure = pathLookup
        ? posix_spawnp(&child, programText.data(), &actions, &attributes, argv, environ)
        : posix_spawn(&child, programText.data(), &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failure != 0)
        return false;

    // Only this pid is waited for, so other children of the process are left alone.
    std::thread([child] {
        while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

} // namespace platform
