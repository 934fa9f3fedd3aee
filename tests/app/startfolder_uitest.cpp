// The folder named on the command line: Dir1 opens it at start, the settings' start folder stays
// what the settings name (and "登録" writes it back as it was), and a folder that can't be
// opened is reported as start-up reports its own start folder. Qt's Japanese texts are loaded
// meanwhile; the program's own button texts stay its own.
#include "ui/displaytext.h"
#include "filelist/widgets/namelistview.h"
#include "support/dialogdriving.h"
#include "support/permissionoverride.h"
#include "support/tempfolder.h"
#include "ui/qttranslations.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QScopeGuard>
#include <optional>
#include <utility>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

std::string SavedLine(const std::string& file, std::size_t n)
{
    std::size_t begin = 0;
    for (std::size_t i = 0; i < n; ++i)
        begin = file.find("\r\n", begin) + 2;
    return file.substr(begin, file.find("\r\n", begin) - begin);
}

TEST(CommandLineFolder, OpensInDir1AndLeavesTheSettingsStartFolderAsItWas)
{
    TempFolder program;
    const std::string start = program / "start", other = program / "other",
                      raw = program / "\x8e\xca\x90\x5e\xff";
    program.MakeFolder("start");
    program.MakeFolder("other");
    program.MakeFolder("\x8e\xca\x90\x5e\xff");
    program.Write("start/s.jpg");
    program.Write("other/o.jpg");
    program.Write("\x8e\xca\x90\x5e\xff/r.jpg");
    const std::string settings = SettingsFileWith({{2, start}});
    const struct {
        std::string argument, opened, row;
        bool reported;
    } cases[] = {
        {other, other, "o.jpg", false},
        {raw, raw, "r.jpg", false},
        {other + "/o.jpg", other, "o.jpg", false},
        {program / "gone", program.path(), "Pelkorin.ini", true},
        {"", start, "s.jpg", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        program.Write("Pelkorin.ini", settings);
        StartedProgram p;
        p.startupBoxes = RunAnsweringBoxes([&] { p.windows = CreateWindows(program.path(), {}, c.argument); });
        TMain* m = p.main();
        m->show();
        EXPECT_EQ(Find(m, "Dir1")->property("directory").toString(), DisplayText(c.opened));
        EXPECT_EQ(RowBytes(Find<NameListView>(m, "oldfile")), std::vector<std::string>{c.row});
        EXPECT_EQ(m->property("StartFolder").toString(), DisplayText(start));
        ASSERT_EQ(p.startupBoxes.size(), c.reported ? 1u : 0u);
        if (c.reported) {
            EXPECT_EQ(p.startupBoxes[0].Icon, QMessageBox::Critical);
            EXPECT_TRUE(p.startupBoxes[0].Text.contains(DisplayText(c.argument)));
            EXPECT_EQ(p.startupBoxes[0].Buttons, QStringList{u"OK"_s});
        }
        const ModalRun run = WithOptions(m, {OptionStep([](QWidget* d) { Later(Find<QPushButton>(d, "optOK")); })});
        EXPECT_EQ(run.StepsDone, 1u);
        EXPECT_EQ(SavedLine(program.Read("Pelkorin.ini"), 2), start);
    }
    // The boxes above spoke with Qt's Japanese texts loaded.
    EXPECT_TRUE(LoadQtTranslations());
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Cancel"_s);
}

// Installed where the user can't write, with no start folder set: the user's pictures folder
// opens (XDG user dirs say which), else the home folder, not the program's own.
TEST(SystemInstallStart, OpensThePicturesFolderElseHome)
{
    const std::pair<const char*, std::optional<QByteArray>> saved[] = {
        {"HOME", qEnvironmentVariableIsSet("HOME") ? std::optional(qgetenv("HOME")) : std::nullopt},
        {"XDG_CONFIG_HOME", qEnvironmentVariableIsSet("XDG_CONFIG_HOME")
                                ? std::optional(qgetenv("XDG_CONFIG_HOME")) : std::nullopt}};
    const auto restore = qScopeGuard([&] {
        for (const auto& [name, value] : saved)
            value ? qputenv(name, *value) : qunsetenv(name);
    });
    for (const bool pictures : {true, false}) {
        SCOPED_TRACE(pictures);
        TempFolder temp;
        temp.MakeFolder("program");
        temp.MakeFolder("home");
        temp.MakeFolder("home/.config");
        temp.Write("home/.config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Fotos\"\n");
        if (pictures)
            temp.MakeFolder("home/Fotos");
        temp.Write("home/a.jpg");
        qputenv("HOME", QByteArray::fromStdString(temp / "home"));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(temp / "home/.config"));
        chmod((temp / "program").c_str(), 0555);
        const auto unlock = qScopeGuard([&] { chmod((temp / "program").c_str(), 0755); });
        const WithoutPermissionOverride asUser;
        StartedProgram p = StartProgram(temp / "program");
        EXPECT_TRUE(p.startupBoxes.empty());
        EXPECT_EQ(Find(p.main(), "Dir1")->property("directory").toString(),
                  DisplayText(temp / (pictures ? "home/Fotos" : "home")));
        EXPECT_EQ(p.main()->property("StartFolder").toString(), QString());
    }
}

} // namespace
