#pragma once
// A flat list of raw file names: the display text for the screen, the bytes at Qt::UserRole.
// Filled in one reset, so 100,000 rows cost one layout.
#include <QAbstractListModel>
#include <functional>
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
    // Marked rows are drawn in red, with tipOf(row, name) as their tooltip; new names clear
    // the marks. The texts are made only when asked for: a run may mark 100,000 rows.
    using TipMaker = std::function<QString(std::size_t row, const std::string& name)>;
    void setTips(std::vector<bool> marked, TipMaker tipOf);

private:
    std::vector<std::string> names_;
    std::vector<bool> marked_;
    TipMaker tipOf_;
};
