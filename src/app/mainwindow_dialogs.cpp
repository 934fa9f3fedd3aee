// The menu entries that open the dialogs and the help, and what the options dialog reads
// from and applies to the main window.
#include "app/mainwindow.h"

#include "ui/digitspinbox.h"
#include "dialogs/aboutbox.h"
#include "dialogs/optionsdialog.h"
#include "filelist/widgets/folderlistview.h"
#include "base/numbers.h"
#include "settings/optionsform.h"

#include <QCheckBox>
#include <QLineEdit>

void TMain::SetDialogs(TAbout* about, TOption* option)
{
    About = about;
    Option = option;
}

std::string TMain::ShownFolder() const
{
    return Dir1->folder();
}

QString TMain::BaseNumberText() const
{
    return text2->text();
}

int TMain::DigitCountValue() const
{
    return UpDown1->value();
}

void TMain::ApplySavedOptions(const SettingsValues& values)
{
    Check1->setChecked(values.ChangeText);
    Check2->setChecked(values.PadDigits);
    Check3->setChecked(values.Sequential);
    UpDown1->setValue(MainDigitCount(ParseInteger(values.DigitCount.Text)));
    edit2->setText(QString::number(UpDown1->value()));
    SetExtensionFlags(values.ExtLowerCase, values.JpegToJpg);
    Check4->setChecked(values.ChangeExt);
}

void TMain::OpenSavedFolder(const std::string& path)
{
    if (path.empty())
        return;
    SwitchFolder(path);
    SetDriveOf(Dir1->folder());
}

void TMain::Object1Click()
{
    if (Option)
        Option->Open();
}

void TMain::Contents1Click()
{
    // What the help viewer does with the page is its own affair; a failed start shows nothing.
    Services.Launch("xdg-open", ProgramFolder + "/Pelkorin.html", ProgramFolder);
}

void TMain::About1Click()
{
    if (About)
        About->exec();
}
