#pragma once
// What the windows reach outside themselves through, handed to them when they are made: the
// program takes the real ones, a test swaps in its own without switching anything global.
#include "platform/launch.h"
#include "platform/renameways.h"
#include "platform/volumes.h"
#include "ui/messages.h"

#include <QString>
#include <functional>
#include <string>
#include <vector>

class QWidget;

struct AppServices {
    // A plain message (not the error box) with its informative text (may be empty): the modal
    // QMessageBox.
    MessageSink Message =
        [](QWidget* parent, const QString& text, const QString& informative) {
            ShowMessage(parent, text, informative);
        };
    // The volumes that stand in for drives, "/" first.
    std::function<std::vector<platform::Volume>()> Volumes = platform::MountedVolumes;
    // Starts a program with one argument in a working folder, detached; false when it could
    // not be started.
    std::function<bool(const std::string& program, const std::string& argument,
                       const std::string& workingFolder)>
        Launch = platform::LaunchProgram;
    // How the renames of an execution and of its undo refuse an existing name.
    platform::RenameWays Renames;
    // The folder the command line named (absolute, raw bytes): start-up opens it instead of
    // the settings' start folder. Empty when none was named.
    std::string CommandLineFolder;
};
