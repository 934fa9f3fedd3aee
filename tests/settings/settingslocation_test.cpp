// Which Pelkorin.ini is read and which is written, for every combination of what the program
// finds out about the program folder and the user's configuration folder.
#include "settings/settingslocation.h"

#include <gtest/gtest.h>

namespace {

TEST(UserSettingsFolder, TakesAnAbsoluteConfigHomeElseTheHomeFoldersConfig)
{
    const struct {
        std::optional<std::string> xdg;
        std::string home;
        std::string folder;
    } cases[] = {
        {"/x/cfg", "/home/u", "/x/cfg/pelkorin"},
        {"/x/cfg", "", "/x/cfg/pelkorin"},
        {std::nullopt, "/home/u", "/home/u/.config/pelkorin"},
        {"", "/home/u", "/home/u/.config/pelkorin"},
        {"relative/cfg", "/home/u", "/home/u/.config/pelkorin"},
        {"~/cfg", "/home/u", "/home/u/.config/pelkorin"},
        {std::nullopt, "", ""},
        {"relative", "relative-home", ""},
        {"/\xff\xfe", "/home/u", "/\xff\xfe/pelkorin"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xdg.value_or("(unset)") + " | " + c.home);
        EXPECT_EQ(UserSettingsFolder(c.xdg, c.home), c.folder);
    }
}

TEST(ChooseSettingsFolders, UserCopyOnlyWhenTheProgramFolderIsNotWritable)
{
    const std::string program = "/usr/lib/pelkorin", user = "/home/u/.config/pelkorin";
    const struct {
        bool writable;
        std::string userFolder;
        bool userFile;
        std::string read, save;
    } cases[] = {
        {true, user, false, program, program},
        {true, user, true, program, program},
        {false, user, false, program, user},
        {false, user, true, user, user},
        {true, "", false, program, program},
        {false, "", false, program, program},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.writable << " '" << c.userFolder << "' " << c.userFile);
        const SettingsFolders f = ChooseSettingsFolders(program, c.writable, c.userFolder, c.userFile);
        EXPECT_EQ(f.Read, c.read);
        EXPECT_EQ(f.Save, c.save);
    }
}

} // namespace
