// The chain drive -> folder -> listing -> oldfile, the refresh, the open dialog and the step
// to the next folder.
#include "app/mainwindow.h"

#include "ui/filepick.h"
#include "filelist/displaytext.h"
#include "base/paths.h"
#include "filelist/navigation.h"
#include "base/errors.h"
#include "filelist/widgets/folderlistview.h"
#include "filelist/widgets/namelistview.h"
#include "filelist/widgets/sortaidmodel.h"

#include <QComboBox>
#include <QScopeGuard>

void TMain::FillDriveList()
{
    Navigation.SetVolumes(Services.Volumes());
    Drive1->clear();
    for (const platform::Volume& v : Navigation.Volumes()) {
        QString text = DisplayText(v.MountPoint);
        if (!v.Label.empty())
            text += QStringLiteral(" [") + DisplayText(v.Label) + QStringLiteral("]");
        Drive1->addItem(text, QByteArray::fromStdString(v.MountPoint));
    }
}

void TMain::SwitchFolder(const std::string& path)
{
    if (Dir1->switchTo(path)) {
        Navigation.Visited(Dir1->folder());
        Dir1Change();
    }
}

void TMain::ShowDriveOf(const std::string& folder)
{
    const QByteArray volume = QByteArray::fromStdString(Navigation.VolumeOf(folder));
    const int row = Drive1->findData(volume);
    if (row >= 0)
        Drive1->setCurrentIndex(row);
}

void TMain::SetDriveOf(const std::string& folder)
{
    ShowDriveOf(folder);
    Drive1Change();
}

void TMain::Drive1Change()
{
    const std::string volume = Drive1->currentData().toByteArray().toStdString();
    if (volume.empty() || volume == Navigation.VolumeOf(Dir1->folder()))
        return;
    try {
        SwitchFolder(Navigation.FolderToOpenOn(volume));
    } catch (const EFileError&) {
        RecoverToProgramFolder();
    }
}

void TMain::Dir1Change()
{
    if (Listing.Folder != Dir1->folder())
        ReadListing();
}

// A drive or folder that can't be opened sends the lists back to the program's folder,
// without a message. Should that fail too, the list shows nothing rather than stale names.
void TMain::RecoverToProgramFolder()
{
    if (recovering_)
        return;
    recovering_ = true;
    const auto done = qScopeGuard([this] { recovering_ = false; });
    try {
        Dir1->switchTo(ProgramFolder);
        Listing = ListingOrNothing(Dir1->folder());
    } catch (const EFileError&) {
        Listing = {Dir1->folder(), {}};
    }
    File1Change();
    ShowDriveOf(Dir1->folder());
}

void TMain::File1Change()
{
    File1->names()->setNames(Listing.Names);
    FillOldFile(Listing.Names);
    NewFile->names()->clear();
    fileListRows->setRows({});
}

void TMain::FillOldFile(std::vector<std::string> names)
{
    oldfile->names()->setNames(std::move(names));
    oldfile->setTopRow(0);
}

bool TMain::ReadListing()
{
    try {
        Listing.Folder = Dir1->folder();
        Listing.Read();
        File1Change();
        return true;
    } catch (const EFileError&) {
        // The folder vanished or can't be read: back to the program's folder, silently.
        RecoverToProgramFolder();
        return false;
    }
}

void TMain::Button11Click()
{
    // The one read of the folder gives the folder list its subfolders too.
    if (ReadListing())
        Dir1->rebuild(Listing.Subfolders);
}

void TMain::Dir1RowOpened(int row)
{
    SwitchFolder(Dir1->rowFolder(row));
    SetDriveOf(Dir1->folder());
}

// Steps through the parent to the folder after the current one among its siblings, wrapping
// to the first. Nothing is said when a folder can't be opened: the lists go back to the
// program's folder, as for any folder change.
void TMain::Button5Click()
{
    const std::string current = Dir1->folder();
    if (current == "/")
        return;
    const std::string parentText = NextFolderParentText(current);
    const std::string parent = NextFolderParent(parentText);
    try {
        SwitchFolder(parent);
        if (Dir1->folder() != parent)
            return; // the parent's listing failed and the lists went back already
        const int target = NextFolderRow(current, parentText, Dir1->rowNames(), Dir1->currentRow());
        Dir1->setCurrentRow(target);
        SwitchFolder(Dir1->rowFolder(target));
    } catch (const EFileError&) {
        RecoverToProgramFolder();
        return;
    }
    ShowDriveOf(Dir1->folder());
}

void TMain::Open1Click()
{
    // A cancelled dialog leaves the folder as it is.
    const auto picked = PickFile(OpenDialog1, this, QStringLiteral("ファイル設定"));
    if (!picked)
        return;
    const std::string& path = *picked;
    SwitchFolder(path);
    SetDriveOf(Dir1->folder());
    Drive1->update();
}

std::string TMain::FolderPrefixOfDir1() const
{
    return FolderPrefix(Dir1->folder());
}
