// The two menu options kept in pelkorin.conf under a temporary XDG_CONFIG_HOME: what each
// state of the file reads as, and what writing leaves on disk.
#include "settings/extraoptions.h"

#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace {

namespace fs = std::filesystem;

// A configuration folder of the test's own for one scope.
class ConfigHome {
public:
    ConfigHome()
    {
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            old_ = old;
        setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
    }
    ~ConfigHome()
    {
        if (old_)
            setenv("XDG_CONFIG_HOME", old_->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }
    const TempFolder& dir() const { return dir_; }

private:
    TempFolder dir_;
    std::optional<std::string> old_;
};

TEST(ExtraOptions, EachStateOfTheFileReadsAsItSays)
{
    const struct {
        const char* label;
        std::optional<std::string> content; // none: no file; "/": a folder in its place
        ExtraOptions read;
    } cases[] = {
        {"no file", std::nullopt, {}},
        {"both off", "[General]\nCompanions=false\nCaptureName=false\n", {false, false}},
        {"companions on", "[General]\nCompanions=true\nCaptureName=false\n", {true, false}},
        {"capture name on, CR LF", "[General]\r\nCaptureName=true\r\n", {false, true}},
        {"both on among other keys", "[General]\nOther=1\nCompanions=true\nCaptureName=true\n[More]\nx=y\n", {true, true}},
        {"values that are no choice", "[General]\nCompanions=banana\nCaptureName=1\n", {}},
        {"day counter and clock offset", "[General]\nDayCounter=true\nClockOffset=-1:30:00\n", {false, false, true, -5400}},
        {"an offset of another form", "[General]\nClockOffset=90\n", {}},
        {"damaged bytes", std::string("\0\xff[[=\n=\x01\nCompanions=tr\xffue\nCaptureName\n", 38), {}},
        {"a folder in its place", "/", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const ConfigHome home;
        const std::string folder = home.dir() / "pelkorin";
        EXPECT_EQ(ExtraOptionsPath(), folder + "/pelkorin.conf");
        if (c.content) {
            fs::create_directory(folder);
            if (*c.content == "/")
                fs::create_directory(folder + "/pelkorin.conf");
            else
                home.dir().Write("pelkorin/pelkorin.conf", *c.content);
        }
        EXPECT_EQ(ReadExtraOptions(), c.read);
    }
}

TEST(ExtraOptions, WritingMakesTheFolderKeepsOtherKeysAndReadsBack)
{
    const ConfigHome home;
    for (const ExtraOptions o : {ExtraOptions{true, false}, ExtraOptions{false, true}, ExtraOptions{true, true, true, -3600}}) {
        ASSERT_TRUE(WriteExtraOptions(o));
        EXPECT_EQ(ReadExtraOptions(), o);
    }
    // QSettings notices a change by size and time: an edit of the very size of the file it
    // wrote, within the same millisecond, would pass for its own.
    home.dir().Write("pelkorin/pelkorin.conf", "[General]\nCompanions=true\n[Later]\nKept=yes, by hand\n");
    ASSERT_TRUE(WriteExtraOptions({false, false}));
    EXPECT_EQ(ReadExtraOptions(), ExtraOptions{});
    EXPECT_NE(home.dir().Read("pelkorin/pelkorin.conf").find("Kept=yes"), std::string::npos);

    // A file where the folder should be: nothing written, nothing thrown.
    const ConfigHome blocked;
    blocked.dir().Write("pelkorin", "not a folder");
    EXPECT_FALSE(WriteExtraOptions({true, true}));
    EXPECT_EQ(ReadExtraOptions(), ExtraOptions{});
    EXPECT_EQ(blocked.dir().Read("pelkorin"), "not a folder");
}

} // namespace
