#include "filelist/widgets/foldercontroller.h"

#include "base/errors.h"
#include "filelist/widgets/folderlistview.h"
#include "ui/displaytext.h"
#include "ui/filepick.h"

#include <QComboBox>
#include <QScopeGuard>

FolderController::FolderController(FolderControls controls, ListState& list, VolumeSource volumes)
    : QObject(controls.Window), c_(controls), list_(list), volumes_(std::move(volumes))
{
}

void FolderController::FillDriveList()
{
    navigation_.SetVolumes(volumes_());
    c_.Drive1->clear();
    for (const platform::Volume& v : navigation_.Volumes()) {
        QString text = DisplayText(v.MountPoint);
        if (!v.Label.empty())
            text += QStringLiteral(" [") + DisplayText(v.Label) + QStringLiteral("]");
        c_.Drive1->addItem(text, QByteArray::fromStdString(v.MountPoint));
    }
}

void FolderController::Switched()
{
    list_.SetFolder(c_.Dir1->folder());
}

void FolderController::SwitchFolder(const std::string& path)
{
    if (c_.Dir1->switchTo(path)) {
        Switched();
        navigation_.Visited(list_.Folder());
        Dir1Change();
    }
}

void FolderController::ShowDriveOf(const std::string& folder)
{
    const QByteArray volume = QByteArray::fromStdString(navigation_.VolumeOf(folder));
    const int row = c_.Drive1->findData(volume);
    if (row >= 0)
        c_.Drive1->setCurrentIndex(row);
}

void FolderController::SetDriveOf(const std::string& folder)
{
    ShowDriveOf(folder);
    Drive1Change();
}

void FolderController::Open(const std::string& path)
{
    SwitchFolder(path);
    SetDriveOf(list_.Folder());
}

void FolderController::Drive1Change()
{
    const std::string volume = c_.Drive1->currentData().toByteArray().toStdString();
    if (volume.empty() || volume == navigation_.VolumeOf(list_.Folder()))
        return;
    try {
        SwitchFolder(navigation_.FolderToOpenOn(volume));
    } catch (const EFileError&) {
        RecoverToProgramFolder();
    }
}

void FolderController::Dir1Change()
{
    if (list_.Listing().Folder != list_.Folder())
        ReadListing();
}

void FolderController::RecoverToProgramFolder()
{
    if (recovering_)
        return;
    recovering_ = true;
    const auto done = qScopeGuard([this] { recovering_ = false; });
    FolderListing listing;
    try {
        c_.Dir1->switchTo(recoveryFolder_);
        Switched();
        listing = ListingOrNothing(list_.Folder());
    } catch (const EFileError&) {
        Switched();
        listing = {list_.Folder(), {}};
    }
    list_.ShowListing(std::move(listing));
    ShowDriveOf(list_.Folder());
}

bool FolderController::ReadListing()
{
    try {
        FolderListing listing{list_.Folder(), {}};
        listing.Read();
        list_.ShowListing(std::move(listing));
        return true;
    } catch (const EFileError&) {
        RecoverToProgramFolder();
        return false;
    }
}

void FolderController::Button11Click()
{
    // The one read of the folder gives the folder list its subfolders too.
    if (ReadListing())
        c_.Dir1->rebuild(list_.Listing().Subfolders);
}

void FolderController::Dir1RowOpened(int row)
{
    Open(c_.Dir1->rowFolder(row));
}

// Steps through the parent to the folder after the current one among its siblings, wrapping
// to the first.
void FolderController::Button5Click()
{
    const std::string current = list_.Folder();
    if (current == "/")
        return;
    const std::string parentText = NextFolderParentText(current);
    const std::string parent = NextFolderParent(parentText);
    try {
        SwitchFolder(parent);
        if (list_.Folder() != parent)
            return; // the parent's listing failed and the lists went back already
        const int target = NextFolderRow(current, parentText, c_.Dir1->rowNames(), c_.Dir1->currentRow());
        c_.Dir1->setCurrentRow(target);
        SwitchFolder(c_.Dir1->rowFolder(target));
    } catch (const EFileError&) {
        RecoverToProgramFolder();
        return;
    }
    ShowDriveOf(list_.Folder());
}

void FolderController::Open1Click()
{
    // A cancelled dialog leaves the folder as it is.
    const auto picked = PickFile(openDialog_, c_.Window, QStringLiteral("ファイル設定"));
    if (!picked)
        return;
    Open(*picked);
    c_.Drive1->update();
}
