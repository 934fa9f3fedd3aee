// The folder named on the command line: Dir1 opens it at start, the settings' start folder stays
// what the settings name (and "登録" writes it back as it was), and a folder that can't be
// opened is reported as start-up reports its own start folder. Qt's Japanese texts are loaded
// meanwhile; the program's own button texts stay its own.
#include "filelist/displaytext.h"
#include "filelist/widgets/namelistview.h"
#include "support/dialogdriving.h"
#include "support/tempfolder.h"
#include "ui/qttranslations.h"

#include <QCoreApplication>
#include <QPushButton>

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

} // namespace
