#pragma once
// Rows of the name lists and the folder list: every row as tall as the list font's line
// (ascent, descent and leading), and the text drawn without antialiasing. The list font's
// one-pixel strokes, the "_" above all, come out faint or vanish when smoothed, and then
// "IMG_0001.JPG" reads as "IMG 0001.JPG".
#include <QStyledItemDelegate>

class ListRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The height of one row in a list drawn with font.
    static int RowHeight(const QFont& font);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
