#pragma once
// A view of a flat list of raw file names kept elsewhere (the list state): the display text
// for the screen, the bytes at Qt::UserRole, and the marks of trial rows. Shown in one reset,
// so 100,000 rows cost one layout.
#include "filelist/liststate.h"

#include <QAbstractListModel>
#include <string>
#include <vector>

class NameListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit NameListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const std::vector<std::string>& names() const { return *names_; }
    // Shows these names, or these rows with their marks; they must outlive the model's use
    // of them, and every change of them is followed by rowsChanged or marksChanged.
    void show(const std::vector<std::string>& names);
    void show(const NameRows& rows);
    void rowsChanged();
    void marksChanged();

private:
    const std::vector<std::string>* names_;
    const NameRows* rows_ = nullptr;
};
