#include "filelist/widgets/sortaidmodel.h"

#include "ui/displaytext.h"
#include "filelist/sortkeys.h"

namespace {
const std::vector<SortAidRow> kNoRows;
} // namespace

SortAidModel::SortAidModel(QObject* parent) : QAbstractTableModel(parent), rows_(&kNoRows) {}

int SortAidModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_->size());
}

int SortAidModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant SortAidModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const SortAidRow& row = (*rows_)[static_cast<std::size_t>(index.row())];
    if (index.column() == 0)
        return DisplayText(row.Key);
    return QString::fromStdString(IndexText(row.Index, rows_->size()));
}

QVariant SortAidModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? QStringLiteral("ソート対象") : QStringLiteral("index");
}

void SortAidModel::show(const std::vector<SortAidRow>& rows)
{
    beginResetModel();
    rows_ = &rows;
    endResetModel();
}

void SortAidModel::rowsChanged()
{
    beginResetModel();
    endResetModel();
}
