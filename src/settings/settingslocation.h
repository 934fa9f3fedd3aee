#pragma once
// Which folder's Pelkorin.ini is read at start-up and which one "登録" writes. Beside the
// program when the user may write there; otherwise the user's own copy in the configuration
// folder, with the program folder's file as the shared defaults until that copy exists.
#include <optional>
#include <string>

// $XDG_CONFIG_HOME/pelkorin, or <home>/.config/pelkorin when the variable is unset, empty or
// not an absolute path; empty when neither gives an absolute folder.
std::string UserSettingsFolder(const std::optional<std::string>& xdgConfigHome,
                               const std::string& home);

struct SettingsFolders {
    std::string Read;
    std::string Save;
};

// The choice itself, from what the caller found out: whether the program folder is writable,
// the user's settings folder (empty: unknown) and whether a Pelkorin.ini exists in it.
SettingsFolders ChooseSettingsFolders(const std::string& programFolder, bool programFolderWritable,
                                      const std::string& userFolder, bool userFileExists);

// The folders for this process, looked up now.
SettingsFolders CurrentSettingsFolders(const std::string& programFolder);

// The folder whose Pelkorin.ini start-up reads.
std::string SettingsFolderToRead(const std::string& programFolder);

// The folder "登録" writes Pelkorin.ini into, created when it is the user's and missing.
// Throws EFileError naming the settings file when that folder can't be made.
std::string SettingsFolderForSaving(const std::string& programFolder);
