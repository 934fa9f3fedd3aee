#include "dialogs/folderchooser.h"

#include "ui/guard.h"
#include "dialogs/dialogparts.h"
#include "settings/widgets/optionshost.h"
#include "ui/displaytext.h"
#include "filelist/widgets/folderlistview.h"
#include "platform/volumes.h"

#include <QComboBox>
#include <QPushButton>
#include <QWidget>

TOpenfolda::TOpenfolda(OptionsHost& host)
    : QDialog(nullptr), host_(host), Navigation(host.Folders())
{
    MakeFixedDialog(this, "Openfolda", QStringLiteral("フォルダ選択"), 465, 186);
    Drive2 = MakeControl<QComboBox>(this, "Drive2", {6, 6, 369, 20});
    Dir2 = MakeControl<FolderListView>(this, "Dir2", {6, 32, 369, 145});
    Dir2->setFont(WindowFont(true, 12));
    Button1 = MakeControl<QPushButton>(this, "Button1", {384, 32, 75, 25});
    Button1->setText(QStringLiteral("選択"));
    Button1->setDefault(true);
    Button2 = MakeControl<QPushButton>(this, "Button2", {384, 64, 75, 25});
    Button2->setText(QStringLiteral("キャンセル"));

    ConnectGuarded(this, Drive2, &QComboBox::activated, &TOpenfolda::Drive2Change);
    ConnectGuarded(this, Dir2, &FolderListView::rowOpened, &TOpenfolda::Dir2RowOpened);
    ConnectGuarded(this, Button1, &QPushButton::clicked, &TOpenfolda::Button1Click);
    ConnectGuarded(this, Button2, &QPushButton::clicked, &TOpenfolda::Button2Click);
    FormCreate();
}

TOpenfolda::~TOpenfolda() = default;

QString TOpenfolda::selectedFolderText() const
{
    return DisplayText(SelectedFolder);
}

void TOpenfolda::FormCreate()
{
    QWidget* main = host_.HostWindow();
    move(main->x() + 80, main->y() + 110);
    FillDriveList();
    // Starts where the main folder list is at the end of its start-up.
    Guarded(this, [&] { SwitchTo(host_.ShownFolder()); });
}

// The volumes the main window read at its start-up.
void TOpenfolda::FillDriveList()
{
    Drive2->clear();
    for (const platform::Volume& v : Navigation.Volumes()) {
        QString text = DisplayText(v.MountPoint);
        if (!v.Label.empty())
            text += QStringLiteral(" [") + DisplayText(v.Label) + QStringLiteral("]");
        Drive2->addItem(text, QByteArray::fromStdString(v.MountPoint));
    }
}

void TOpenfolda::ShowDriveOf(const std::string& folder)
{
    const int row = Drive2->findData(QByteArray::fromStdString(Navigation.VolumeOf(folder)));
    if (row >= 0)
        Drive2->setCurrentIndex(row);
}

// Throws EFileError, leaving the list where it was, when the folder can't be entered.
void TOpenfolda::SwitchTo(const std::string& folder)
{
    Dir2->switchTo(folder);
    Navigation.Visited(Dir2->folder());
    ShowDriveOf(Dir2->folder());
}

void TOpenfolda::Drive2Change()
{
    const std::string volume = Drive2->currentData().toByteArray().toStdString();
    if (volume.empty() || volume == Navigation.VolumeOf(Dir2->folder()))
        return;
    try {
        SwitchTo(Navigation.FolderToOpenOn(volume));
    } catch (...) {
        // The drive box goes back to the folder the list still shows.
        ShowDriveOf(Dir2->folder());
        throw;
    }
}

void TOpenfolda::Dir2RowOpened(int row)
{
    SwitchTo(Dir2->rowFolder(row));
}

void TOpenfolda::Button1Click()
{
    SelectedFolder = Dir2->folder();
    accept();
}

void TOpenfolda::Button2Click()
{
    SelectedFolder.clear();
    reject();
}
