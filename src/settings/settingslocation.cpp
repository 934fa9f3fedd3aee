#include "settings/settingslocation.h"

#include "base/errors.h"
#include "platform/filesystem.h"
#include "platform/userfolders.h"
#include "settings/settingsfile.h"

std::string UserSettingsFolder(const std::optional<std::string>& xdgConfigHome,
                               const std::string& home)
{
    // A relative value would depend on the current folder; the convention is to ignore it.
    if (xdgConfigHome && !xdgConfigHome->empty() && xdgConfigHome->front() == '/')
        return *xdgConfigHome + "/pelkorin";
    if (!home.empty() && home.front() == '/')
        return home + "/.config/pelkorin";
    return {};
}

SettingsFolders ChooseSettingsFolders(const std::string& programFolder, bool programFolderWritable,
                                      const std::string& userFolder, bool userFileExists)
{
    // Without a user folder the save fails beside the program and says so, as it always did.
    if (programFolderWritable || userFolder.empty())
        return {programFolder, programFolder};
    return {userFileExists ? userFolder : programFolder, userFolder};
}

SettingsFolders CurrentSettingsFolders(const std::string& programFolder)
{
    const std::string user =
        UserSettingsFolder(platform::EnvironmentValue("XDG_CONFIG_HOME"), platform::HomeFolder());
    const bool writable = platform::FolderWritable(programFolder);
    const bool userFile = !writable && !user.empty() && platform::FileExists(SettingsPath(user));
    return ChooseSettingsFolders(programFolder, writable, user, userFile);
}

std::string SettingsFolderToRead(const std::string& programFolder)
{
    return CurrentSettingsFolders(programFolder).Read;
}

std::string SettingsFolderForSaving(const std::string& programFolder)
{
    const std::string folder = CurrentSettingsFolders(programFolder).Save;
    if (folder != programFolder)
        if (const int e = platform::MakeFolders(folder); e != 0)
            throw EFileError(FileErrorMessage("ファイルを書き込めません", SettingsPath(folder), e));
    return folder;
}
