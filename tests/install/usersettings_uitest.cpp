// Installed for all users, the program's folder is not writable by the one who runs it: start-up
// reads the user's own Pelkorin.ini when there is one, else the program folder's as shared
// defaults, and "登録" writes the user's copy, never beside the program. The configuration
// folder is always a temporary one, so no test touches the real home.
#include "settings/settingslocation.h"
#include "support/dialogdriving.h"
#include "support/permissionoverride.h"
#include "support/tempfolder.h"

#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <optional>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// XDG_CONFIG_HOME for the lifetime of the object.
class ConfigHome {
public:
    explicit ConfigHome(const std::string& folder) : old_(qgetenv("XDG_CONFIG_HOME")), had_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
    {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(folder));
    }
    ~ConfigHome()
    {
        if (had_)
            qputenv("XDG_CONFIG_HOME", old_);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

private:
    QByteArray old_;
    bool had_;
};

// <temp>/lib-pelkorin as an installed program folder: read-only, the given system file in it.
class ProgramFolder {
public:
    ProgramFolder(const TempFolder& temp, const std::optional<std::string>& systemFile, bool locked)
        : path_(temp / "lib-pelkorin")
    {
        temp.MakeFolder("lib-pelkorin");
        if (systemFile)
            temp.Write("lib-pelkorin/Pelkorin.ini", *systemFile);
        chmod(path_.c_str(), locked ? 0555 : 0755);
    }
    ~ProgramFolder() { chmod(path_.c_str(), 0755); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Whether this thread can create a file in folder, as the program would try it.
bool CanCreateIn(const std::string& folder)
{
    QFile probe(FromUtf8(folder + "/.probe"));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    probe.remove();
    return true;
}

QString Text2(TMain* m) { return Find<QLineEdit>(m, "text2")->text(); }

// Starts the program, types into the dialog's base number and presses "登録"; the boxes seen.
std::vector<SeenBox> SaveWithBaseNumberTyped(const std::string& programFolder, const QString& typed,
                                             bool* openAfter = nullptr)
{
    StartedProgram p = StartProgram(programFolder);
    ModalRun run;
    std::vector<ModalStep> steps;
    steps.push_back(OptionStep([&](QWidget* d) {
        QTest::keyClicks(Find<QLineEdit>(d, "text2"), typed);
        Later(Find<QPushButton>(d, "optOK"));
    }));
    if (openAfter) {
        steps.push_back(BoxStep(run));
        steps.push_back(OptionStep([&](QWidget* d) {
            *openAfter = d->isVisible();
            Find<QPushButton>(d, "optCansel")->click();
        }));
    }
    const ModalRun done = WithOptions(p.main(), std::move(steps));
    EXPECT_EQ(done.StepsDone, openAfter ? 3u : 1u);
    EXPECT_TRUE(done.Unexpected.isEmpty()) << done.Unexpected.join(u", "_s).toStdString();
    return run.Boxes;
}

TEST(UserSettings, StartUpReadsTheUsersCopyElseTheProgramFoldersFile)
{
    const std::string system = SettingsFileWith({{8, "on"}, {24, "11"}});
    const std::string users = SettingsFileWith({{24, "22"}});
    const struct {
        bool locked, systemFile, userFile;
        QString text2;
    } cases[] = {
        {true, false, false, u"0"_s},  {true, true, false, u"11"_s},
        {true, false, true, u"22"_s},  {true, true, true, u"22"_s},
        {false, true, true, u"11"_s},  {false, false, true, u"0"_s},
    };
    const WithoutPermissionOverride asUser;
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "locked " << c.locked << " system " << c.systemFile
                                          << " user " << c.userFile);
        TempFolder temp;
        const ConfigHome home(temp / "config");
        if (c.userFile) {
            temp.MakeFolder("config");
            temp.MakeFolder("config/pelkorin");
            temp.Write("config/pelkorin/Pelkorin.ini", users);
        }
        const ProgramFolder program(temp, c.systemFile ? std::optional(system) : std::nullopt, c.locked);
        ASSERT_NE(CanCreateIn(program.path()), c.locked) << "the mode does not bind here";
        StartedProgram p = StartProgram(program.path());
        EXPECT_TRUE(p.startupBoxes.empty());
        EXPECT_EQ(Text2(p.main()), c.text2);
        EXPECT_EQ(p.main()->property("SettingsLines").toStringList().value(24),
                  c.text2 == u"0"_s ? QString() : c.text2);
    }
}

TEST(UserSettings, SavingWritesTheUsersCopyWithTheLinesItWouldWriteBesideTheProgram)
{
    const std::string system = SettingsFileWith({{8, "on"}, {10, "5"}, {24, "77"}});
    const WithoutPermissionOverride asUser;

    // What "登録" writes where it may write beside the program; no user copy is made then.
    TempFolder writableTemp;
    const ConfigHome writableHome(writableTemp / "config");
    const ProgramFolder writable(writableTemp, system, false);
    EXPECT_TRUE(SaveWithBaseNumberTyped(writable.path(), u"9"_s).empty());
    const std::string besideProgram = ReadFileBytes(writable.path() + "/Pelkorin.ini");
    EXPECT_EQ(besideProgram, ExpectedSettingsFile({{8, "on"}, {10, "5"}, {24, "779"}}));
    EXPECT_FALSE(writableTemp.Exists("config"));

    TempFolder temp;
    const ConfigHome home(temp / "config/nested");
    const ProgramFolder program(temp, system, true);
    const std::vector<std::string> before = Entries(program.path());
    EXPECT_TRUE(SaveWithBaseNumberTyped(program.path(), u"9"_s).empty());
    const std::string user = temp / "config/nested/pelkorin/Pelkorin.ini";
    EXPECT_EQ(ReadFileBytes(user), besideProgram);
    struct stat st {};
    ASSERT_EQ(stat((temp / "config/nested/pelkorin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << "the user's folder is the user's alone";
    // Nothing beside the program: no file, no leftover temporary, the shared defaults intact.
    EXPECT_EQ(Entries(program.path()), before);
    EXPECT_EQ(ReadFileBytes(program.path() + "/Pelkorin.ini"), system);

    // The next start reads the user's copy.
    Windows again = CreateWindows(program.path());
    EXPECT_EQ(Text2(again.Main.get()), u"779"_s);
}

TEST(UserSettings, AUserFolderThatCannotBeMadeIsReportedAndTheDialogStaysOpen)
{
    const WithoutPermissionOverride asUser;
    TempFolder temp;
    temp.Write("plain"); // a file where the configuration folder should be: no one can make it
    const ConfigHome home(temp / "plain");
    const ProgramFolder program(temp, std::nullopt, true);
    bool openAfter = false;
    const std::vector<SeenBox> boxes = SaveWithBaseNumberTyped(program.path(), u"1"_s, &openAfter);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Icon, QMessageBox::Critical);
    const QString named = u"ファイルを書き込めません '"_s + FromUtf8(temp / "plain/pelkorin/Pelkorin.ini") + u"': "_s;
    EXPECT_TRUE(boxes[0].Text.startsWith(named)) << boxes[0].Text.toStdString();
    EXPECT_TRUE(openAfter);
    EXPECT_TRUE(Entries(program.path()).empty());
    EXPECT_EQ(temp.Files(), std::vector<std::string>{"plain"});
}

} // namespace
