// The folder Dir1 opens at start, for every source it may come from.
#include "settings/startfolder.h"

#include <gtest/gtest.h>

namespace {

TEST(ChooseOpeningFolder, CommandLineThenSettingsThenTheUsersFoldersForASystemInstall)
{
    const std::string arg = "/media/card/DCIM", set = "/srv/photos", pics = "/home/u/Bilder",
                      home = "/home/u";
    const struct {
        std::string commandLine, settings;
        bool writable;
        std::string pictures, opened;
    } cases[] = {
        {arg, set, true, pics, arg},
        {arg, "", false, pics, arg},
        {"/\xff\xfe", set, false, pics, "/\xff\xfe"},
        {"", set, true, pics, set},
        {"", set, false, pics, set},
        {"", "", true, pics, ""},   // the program folder stays, as before
        {"", "", false, pics, pics},
        {"", "", false, "", home},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "'" << c.commandLine << "' '" << c.settings << "' "
                                          << c.writable << " '" << c.pictures << "'");
        EXPECT_EQ(ChooseOpeningFolder({c.commandLine, c.settings, c.writable, c.pictures, home}), c.opened);
    }
}

} // namespace
