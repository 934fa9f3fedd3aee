#include "filelist/widgets/listrowdelegate.h"

#include <QFontMetrics>
#include <algorithm>

namespace {
QFont Crisp(QFont font)
{
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}
} // namespace

int ListRowDelegate::RowHeight(const QFont& font)
{
    const QFontMetrics metrics(Crisp(font));
    return std::max({metrics.height(), metrics.lineSpacing(),
                     metrics.ascent() + metrics.descent() + metrics.leading()});
}

QSize ListRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    // Never lower than the line, and no taller for text alone, so both name lists keep the
    // same rows and line up row by row.
    const int line = RowHeight(option.font);
    s.setHeight(index.data(Qt::DecorationRole).isNull() ? line : std::max(s.height(), line));
    return s;
}

void ListRowDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->font = Crisp(option->font);
    option->fontMetrics = QFontMetrics(option->font);
}
