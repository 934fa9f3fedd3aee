#pragma once
// The folder list: the root, the folders on the way down, the current folder and its
// subfolders. Its current folder is raw bytes; `directory` shows it as text.
#include <QListView>
#include <QStandardItemModel>
#include <string>

class FolderListView : public QListView {
    Q_OBJECT
    Q_PROPERTY(QString directory READ directory)
public:
    explicit FolderListView(QWidget* parent = nullptr);

    QString directory() const;
    const std::string& folder() const { return folder_; }

    // Switches to a folder (absolute, or relative to the current one); a path that names
    // a file switches to its folder; an empty path changes nothing. Returns whether the
    // folder changed. Throws EFileError, leaving everything as it was, when the folder
    // can't be entered.
    bool switchTo(const std::string& path);
    // Rebuilds the rows of the current folder (its subfolders may have changed).
    void rebuild();

    // The folder a row stands for.
    std::string rowFolder(int row) const;

signals:
    // The user opened a row (double click or Enter).
    void rowOpened(int row);

private:
    QStandardItemModel* model_;
    std::string folder_;
};
