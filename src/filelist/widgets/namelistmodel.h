#pragma once
// A flat list of raw file names: the display text for the screen, the bytes at Qt::UserRole.
// Filled in one reset, so 100,000 rows cost one layout.
#include <QAbstractListModel>
#include <string>
#include <vector>

class NameListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const std::vector<std::string>& names() const { return names_; }
    void setNames(std::vector<std::string> names);
    void clear() { setNames({}); }
    // Rows with a non-empty tip are drawn in red with that tooltip; new names clear them.
    void setTips(std::vector<QString> tips);

private:
    std::vector<std::string> names_;
    std::vector<QString> tips_;
};
