// Installed for all users, the program's folder is not writable by the one who runs it:
// "登録" must then say which file it could not write, keep the dialog open and leave nothing
// behind in that folder.
#include "settings/settingslocation.h"
#include "support/dialogdriving.h"
#include "support/permissionoverride.h"
#include "support/tempfolder.h"

#include <QMessageBox>
#include <QPushButton>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Whether this thread can create a file in folder.
bool CanCreateIn(const std::string& folder)
{
    const std::string probe = folder + "/.pelkorin-probe";
    const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    close(fd);
    unlink(probe.c_str());
    return true;
}

struct SaveAttempt {
    std::vector<SeenBox> Boxes;
    bool OpenAfterBox = false;
    std::size_t Steps = 0;
};

SaveAttempt SaveOptionsIn(const std::string& programFolder)
{
    StartedProgram p = StartProgram(programFolder);
    SaveAttempt attempt;
    ModalRun run;
    std::vector<ModalStep> steps;
    steps.push_back(OptionStep([](QWidget* d) { Later(Find<QPushButton>(d, "optOK")); }));
    steps.push_back(BoxStep(run));
    steps.push_back(OptionStep([&](QWidget* d) {
        attempt.OpenAfterBox = d->isVisible();
        Find<QPushButton>(d, "optCansel")->click();
    }));
    attempt.Steps = WithOptions(p.main(), std::move(steps)).StepsDone;
    attempt.Boxes = run.Boxes;
    return attempt;
}

std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    return names;
}

TEST(ReadOnlyProgramFolder, SavingNamesTheSettingsFileInTheErrorBox)
{
    TempFolder temp;
    const std::string locked = temp / "lib-pelkorin";
    temp.MakeFolder("lib-pelkorin");
    ASSERT_EQ(chmod(locked.c_str(), 0555), 0);
    // A mode a user cannot write through (root meets it as a user does here), and a pseudo
    // file system no one can create files in, when there is one.
    // Where a user's own copy would go can't be made either (a file stands there).
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(temp.Write("plain")));
    const std::string folders[] = {locked, "/sys/kernel"};
    {
        const WithoutPermissionOverride asAUser;
        for (const std::string& folder : folders) {
            SCOPED_TRACE(folder);
            if (folder != locked && !std::filesystem::is_directory(folder))
                continue;
            ASSERT_FALSE(CanCreateIn(folder));
            const std::vector<std::string> before = Entries(folder);
            const SaveAttempt attempt = SaveOptionsIn(folder);
            EXPECT_EQ(attempt.Steps, 3u);
            ASSERT_EQ(attempt.Boxes.size(), 1u);
            const SeenBox& box = attempt.Boxes[0];
            EXPECT_EQ(box.Title, u"Pelkorin"_s);
            EXPECT_EQ(box.Icon, QMessageBox::Critical);
            const QString named = u"ファイルを書き込めません '"_s +
                                  FromUtf8(CurrentSettingsFolders(folder).Save) + u"/Pelkorin.ini': "_s;
            EXPECT_TRUE(box.Text.startsWith(named)) << box.Text.toStdString();
            EXPECT_GT(box.Text.size(), named.size() + 1) << "no reason given";
            EXPECT_TRUE(box.Text.endsWith(u'.')) << box.Text.toStdString();
            EXPECT_TRUE(attempt.OpenAfterBox);
            EXPECT_EQ(Entries(folder), before);
        }
    }
    chmod(locked.c_str(), 0755);
    qputenv("XDG_CONFIG_HOME", configHome);
}

} // namespace
