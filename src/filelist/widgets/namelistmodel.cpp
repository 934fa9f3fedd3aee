#include "filelist/widgets/namelistmodel.h"

#include "filelist/displaytext.h"

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
    return {};
}

void NameListModel::setNames(std::vector<std::string> names)
{
    beginResetModel();
    names_ = std::move(names);
    endResetModel();
}
