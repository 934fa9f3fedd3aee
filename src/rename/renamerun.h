#pragma once
// The trial run and the execution over the selected rows of the list, in list order,
// without any widget: the window hands in the names, the selection and the options.
#include "platform/renameways.h"
#include "rename/naming.h"
#include "rename/undorecord.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A new name that would leave the folder, name the folder itself or hide the file (one that
// begins with ".") is never renamed to.
bool IsSafeNewName(const std::string& name);

// Progress of a run: n of t selected files, n counting from 1.
using RunProgress = std::function<void(int n, int t)>;

// Appends one row per row of the list up to the last selected one: the new name for a
// selected row, an empty row otherwise. Throws EConvertError; rows then keep what was
// appended before the failing file.
void ComposeTrialRows(const std::vector<std::string>& names, const std::vector<bool>& selected,
                      const RenameOptions& options, int32_t firstNumber,
                      const RunProgress& progress, std::vector<std::string>& rows);

struct ExecuteHooks {
    RunProgress Progress;
    // A selected file's new name is taken by another file: the new full path.
    std::function<void(const std::string& newPath)> ReportTaken;
    // Once, before the first rename, when any rename is planned: every selected file whose
    // new name differs and is safe, with the identity of the file under its current name, and
    // the folder's identity. False stops the run before it renames anything.
    std::function<bool(const UndoRecord& planned)> BeforeRenames;
    // After each file the run renamed.
    std::function<void()> Renamed;
    // How each rename refuses an existing name.
    platform::RenameWays Ways;
};

// Renames every selected file, in list order, inside the folder of prefix, unless
// BeforeRenames says no. Never replaces a file. Throws EConvertError; the files before the failing one stay renamed.
void ExecuteRenames(const std::string& prefix, const std::vector<std::string>& names,
                    const std::vector<bool>& selected, const RenameOptions& options,
                    int32_t firstNumber, const ExecuteHooks& hooks);
