// Start-up of the main window on a program folder of the test's own.
#include "filelist/widgets/namelistview.h"
#include "support/mainwindowfixture.h"
#include "support/tempfolder.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>

namespace {

QStringList Rows(NameListView* list)
{
    QStringList rows;
    for (int r = 0; r < list->model()->rowCount(); ++r)
        rows << list->model()->index(r, 0).data().toString();
    return rows;
}

TEST(Startup, WithoutSettingsFileOpensProgramFolderWithDefaults)
{
    TempFolder program;
    program.Write("b.jpg");
    program.Write("A.jpg");
    program.Write("c.jpg");
    program.Write(".hidden");
    program.MakeFolder("sub");
    StartedProgram p = StartProgram(program.path());
    TMain* m = p.main();
    EXPECT_TRUE(p.startupBoxes.empty());
    EXPECT_EQ(m->pos(), QPoint(0, 0));
    EXPECT_EQ(m->property("ProgramFolder").toString(), QString::fromStdString(program.path()));
    EXPECT_EQ(Rows(Find<NameListView>(m, "oldfile")), (QStringList{"A.jpg", "b.jpg", "c.jpg"}));
    EXPECT_TRUE(Find<QCheckBox>(m, "Check1")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(m, "Check2")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(m, "Check3")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(m, "Check4")->isChecked());
    EXPECT_EQ(Find<QLineEdit>(m, "edit2")->text(), "3");
    EXPECT_EQ(Find<QLineEdit>(m, "Edit4")->text(), "jpg");
    EXPECT_EQ(Find<QLineEdit>(m, "text2")->text(), "0");
    EXPECT_TRUE(Find<QLineEdit>(m, "textvol")->isEnabled());
    EXPECT_TRUE(Find<QSpinBox>(m, "UpDown1")->isEnabled());
    EXPECT_FALSE(Find<QLineEdit>(m, "text2")->isEnabled());
    EXPECT_FALSE(Find<QLineEdit>(m, "Edit4")->isEnabled());
    EXPECT_EQ(m->property("ExtLowerCase").toString(), "off");
    EXPECT_EQ(m->property("ViewerPath").toString(), "");
}

} // namespace
