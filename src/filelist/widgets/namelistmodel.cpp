#include "filelist/widgets/namelistmodel.h"

#include "filelist/displaytext.h"

#include <QColor>

int NameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

QVariant NameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount())
        return {};
    const std::string& name = names_[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole)
        return DisplayText(name);
    if (role == Qt::UserRole)
        return QByteArray(name.data(), static_cast<qsizetype>(name.size()));
    const std::size_t row = static_cast<std::size_t>(index.row());
    if (isStale() && !name.empty()) {
        if (role == Qt::ForegroundRole)
            return QColor(140, 140, 140);
        if (role == Qt::ToolTipRole)
            return staleTip_;
        return {};
    }
    if (row < marked_.size() && marked_[row]) {
        if (role == Qt::ForegroundRole)
            return QColor(Qt::red);
        if (role == Qt::ToolTipRole)
            return tipOf_(row, name);
    }
    return {};
}

void NameListModel::setNames(std::vector<std::string> names)
{
    beginResetModel();
    names_ = std::move(names);
    marked_.clear();
    tipOf_ = nullptr;
    staleTip_.clear();
    endResetModel();
}

void NameListModel::setTips(std::vector<bool> marked, TipMaker tipOf)
{
    marked_ = std::move(marked);
    tipOf_ = std::move(tipOf);
    if (!names_.empty())
        emit dataChanged(index(0), index(rowCount() - 1), {Qt::ForegroundRole, Qt::ToolTipRole});
}

void NameListModel::setStale(const QString& tip)
{
    if (names_.empty() || staleTip_ == tip)
        return;
    staleTip_ = tip;
    emit dataChanged(index(0), index(rowCount() - 1), {Qt::ForegroundRole, Qt::ToolTipRole});
}
