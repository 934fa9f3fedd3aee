#pragma once
// A flat list of raw file names: the display text for the screen, the bytes at Qt::UserRole.
// Filled in one reset, so 100,000 rows cost one layout.
#include <QAbstractListModel>
#include <QString>
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
    // Rows that no longer tell what would happen (their run's inputs changed since): every
    // non-empty row is drawn grey with this tooltip, in place of its mark; the texts stay.
    // Only new names end it. An empty list has nothing to grey and stays as it is.
    void setStale(const QString& tip);
    bool isStale() const { return !staleTip_.isEmpty(); }

private:
    std::vector<std::string> names_;
    std::vector<bool> marked_;
    TipMaker tipOf_;
    QString staleTip_;
};
