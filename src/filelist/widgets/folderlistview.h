#pragma once
// The folder list: the root, the folders on the way down, the current folder and its
// subfolders. Each row shows the bare folder name; the depth is drawn, not typed, so the row
// texts stay the names themselves. Its current folder is raw bytes; `directory` shows it
// as text.
#include <QListView>
#include <QStandardItemModel>
#include <string>
#include <vector>

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
    // The same with the subfolders already read, in listing order.
    void rebuild(const std::vector<std::string>& subfolders);

    // The folder a row stands for.
    std::string rowFolder(int row) const;
    // The bare names of the rows as raw bytes, "/" for the root row.
    std::vector<std::string> rowNames() const;
    // The row of the current folder, and selecting a row without opening it.
    int currentRow() const { return currentIndex().row(); }
    void setCurrentRow(int row);
    // Every folder this list switches to becomes the process's current folder too, so that
    // programs started for its files start there.
    void setEntersProcessFolder(bool enters) { entersProcessFolder_ = enters; }

signals:
    // The user opened a row (double click or Enter).
    void rowOpened(int row);

protected:
    // Enter opens the highlighted row and goes no further, so a dialog's default button
    // does not take it too.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QStandardItemModel* model_;
    std::string folder_;
    bool entersProcessFolder_ = false;
};
