#include "settings/startfolder.h"

#include "platform/userfolders.h"

std::string ChooseOpeningFolder(const StartFolderFacts& facts)
{
    if (!facts.CommandLine.empty())
        return facts.CommandLine;
    if (!facts.Settings.empty() || facts.ProgramFolderWritable)
        return facts.Settings;
    // The program folder of a system install holds nothing of the user's.
    return facts.Pictures.empty() ? facts.Home : facts.Pictures;
}

std::string OpeningFolder(const std::string& commandLine, const std::string& settings,
                          const std::string& programFolder)
{
    StartFolderFacts facts{commandLine, settings, true, {}, {}};
    if (commandLine.empty() && settings.empty()) {
        facts.ProgramFolderWritable = platform::FolderWritable(programFolder);
        if (!facts.ProgramFolderWritable) {
            facts.Pictures = platform::PicturesFolder();
            facts.Home = platform::HomeFolder();
        }
    }
    return ChooseOpeningFolder(facts);
}
