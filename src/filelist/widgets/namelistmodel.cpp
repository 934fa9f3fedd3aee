#include "filelist/widgets/namelistmodel.h"

#include "ui/displaytext.h"

#include <QColor>

namespace {
const std::vector<std::string> kNoNames;
} // namespace

NameListModel::NameListModel(QObject* parent) : QAbstractListModel(parent), names_(&kNoNames) {}

int NameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(names_->size());
}

QVariant NameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount())
        return {};
    const std::size_t row = static_cast<std::size_t>(index.row());
    const std::string& name = (*names_)[row];
    if (role == Qt::DisplayRole)
        return DisplayText(name);
    if (role == Qt::UserRole)
        return QByteArray(name.data(), static_cast<qsizetype>(name.size()));
    if (!rows_)
        return {};
    if (!rows_->StaleTip.isEmpty() && !name.empty()) {
        if (role == Qt::ForegroundRole)
            return QColor(140, 140, 140);
        if (role == Qt::ToolTipRole)
            return rows_->StaleTip;
        return {};
    }
    if (row < rows_->Marked.size() && rows_->Marked[row]) {
        if (role == Qt::ForegroundRole)
            return QColor(Qt::red);
        if (role == Qt::ToolTipRole && rows_->TipOf)
            return rows_->TipOf(row, name);
    }
    return {};
}

void NameListModel::show(const std::vector<std::string>& names)
{
    beginResetModel();
    names_ = &names;
    rows_ = nullptr;
    endResetModel();
}

void NameListModel::show(const NameRows& rows)
{
    beginResetModel();
    names_ = &rows.Names;
    rows_ = &rows;
    endResetModel();
}

void NameListModel::rowsChanged()
{
    beginResetModel();
    endResetModel();
}

void NameListModel::marksChanged()
{
    if (!names_->empty())
        emit dataChanged(index(0), index(rowCount() - 1), {Qt::ForegroundRole, Qt::ToolTipRole});
}
