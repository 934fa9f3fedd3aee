#pragma once
// The hidden sort aid, a view of the list state's: one row per listed name, its sort key and
// its place in the listing.
#include "filelist/liststate.h"

#include <QAbstractTableModel>
#include <string>
#include <vector>

class SortAidModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SortAidModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Shows the rows of the list state; rowsChanged follows every change of them.
    void show(const std::vector<SortAidRow>& rows);
    void rowsChanged();

private:
    const std::vector<SortAidRow>* rows_;
};
