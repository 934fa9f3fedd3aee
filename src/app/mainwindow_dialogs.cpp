// The menu entries that open the dialogs and the help, and what the options dialog reads
// from and applies to the main window.
#include "app/mainwindow.h"

#include "dialogs/aboutbox.h"
#include "dialogs/historywindow.h"
#include "rename/widgets/undocontroller.h"
#include "filelist/widgets/foldercontroller.h"
#include "settings/widgets/optionsdialog.h"

void TMain::SetDialogs(TAbout* about, TOption* option, THistory* history)
{
    About = about;
    Option = option;
    History = history;
}

FolderNavigation& TMain::Folders()
{
    return FolderFeature->Navigation();
}

void TMain::OpenSavedFolder(const std::string& path)
{
    if (!path.empty())
        FolderFeature->Open(path);
}

void TMain::Object1Click()
{
    if (Option)
        Option->Open();
}

void TMain::Contents1Click()
{
    // What the help viewer does with the page is its own affair; a failed start shows nothing.
    const std::string& folder = Config.ProgramFolder();
    Services.Launch("xdg-open", folder + "/Pelkorin.html", folder);
}

void TMain::About1Click()
{
    if (About)
        About->exec();
}

void TMain::History1Click()
{
    if (History)
        History->Open(UndoFeature->HistoryRows(), [this](int row) {
            UndoFeature->UndoDownTo(row);
            return UndoFeature->HistoryRows();
        });
}
