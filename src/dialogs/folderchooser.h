#pragma once
// The folder chooser: a drive list and a folder list; "選択" hands back the folder that is
// open, "キャンセル" hands back nothing, the close box leaves the last result alone.
#include "filelist/navigation.h"

#include <QDialog>
#include <QString>
#include <string>

class OptionsHost;
class QComboBox;
class QPushButton;
class FolderListView;

class TOpenfolda : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString SelectedFolder READ selectedFolderText)
public:
    explicit TOpenfolda(OptionsHost& host);
    ~TOpenfolda() override;

    QString selectedFolderText() const;
    const std::string& SelectedFolderBytes() const { return SelectedFolder; }

private:
    void FormCreate();
    void Drive2Change();
    void Dir2RowOpened(int row);
    void Button1Click();
    void Button2Click();
    void FillDriveList();
    void ShowDriveOf(const std::string& folder);
    void SwitchTo(const std::string& folder);

    OptionsHost& host_;
    std::string SelectedFolder;
    // The main window's: a volume opens where either window last was on it.
    FolderNavigation& Navigation;

    QComboBox* Drive2 = nullptr;
    FolderListView* Dir2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};
