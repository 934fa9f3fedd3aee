#pragma once
// The trial run and the execution over the selected rows of the list, in list order,
// without any widget: the window hands in the names, the selection and the options.
#include "platform/renameways.h"
#include "rename/companions.h"
#include "rename/groupnames.h"
#include "rename/naming.h"
#include "rename/undorecord.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A new name that would leave the folder, name the folder itself or hide the file (one that
// begins with ".") is never renamed to.
bool IsSafeNewName(const std::string& name);

// Appends one row per row of the list up to the last selected one: the new name for a
// selected row, an empty row otherwise. Throws EConvertError; rows then keep what was
// appended before the failing file.
void ComposeTrialRows(const std::vector<std::string>& names, const std::vector<bool>& selected,
                      const RenameOptions& options, int32_t firstNumber,
                      const RunProgress& progress, std::vector<std::string>& rows);
// The same over groups (companions.h): one row per row up to groups.RowEnd, the new name for
// each row of a group, the current name for a selected row in no group, an empty row
// otherwise. Progress counts photos. On EConvertError the rows stop before the photo that
// failed.
void ComposeTrialRows(const std::vector<std::string>& names, const FileGroups& groups,
                      const RenameOptions& options, int32_t firstNumber,
                      const RunProgress& progress, std::vector<std::string>& rows);

struct ExecuteHooks {
    RunProgress Progress;
    // A file's new name is taken by another file: the new full path. Its group is already
    // back under its old names when this is called.
    std::function<void(const std::string& newPath)> ReportTaken;
    // Once, before the first rename, when any rename is planned: every file of a group whose
    // new names are all safe, where its new name differs, with the identity of the file under
    // its current name, in the order of the renames, and the folder's identity. False stops
    // the run before it renames anything.
    std::function<bool(const UndoRecord& planned)> BeforeRenames;
    // For each file that keeps a new name: once its whole group is renamed (or when a file
    // could not be given its old name back).
    std::function<void()> Renamed;
    // How each rename refuses an existing name.
    platform::RenameWays Ways;
};

// Renames every selected file, in list order, inside the folder of prefix, unless
// BeforeRenames says no. Never replaces a file. Throws EConvertError; the files before the failing one stay renamed.
void ExecuteRenames(const std::string& prefix, const std::vector<std::string>& names,
                    const std::vector<bool>& selected, const RenameOptions& options,
                    int32_t firstNumber, const ExecuteHooks& hooks);
// The same group by group, each all or nothing: the photo, then its companions in list order.
// When one of them can't take its new name (taken: reported once, after the group is back; or
// refused, silently) the ones renamed before it get their old names back, never replacing
// anything, and the run goes on with the next group. Progress counts photos.
void ExecuteRenames(const std::string& prefix, const std::vector<std::string>& names,
                    const FileGroups& groups, const RenameOptions& options,
                    int32_t firstNumber, const ExecuteHooks& hooks);
