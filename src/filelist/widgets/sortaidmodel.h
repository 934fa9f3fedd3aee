#pragma once
// The hidden sort aid: one row per listed name, its sort key and its place in the listing.
#include <QAbstractTableModel>
#include <string>
#include <vector>

class SortAidModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Row {
        std::string Key;
        std::size_t Index;
    };
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setRows(std::vector<Row> rows);

private:
    std::vector<Row> rows_;
};
