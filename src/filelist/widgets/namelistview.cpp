#include "filelist/widgets/namelistview.h"

#include "filelist/widgets/listrowdelegate.h"

#include <QMouseEvent>
#include <QScrollBar>

NameListView::NameListView(QWidget* parent)
    : QListView(parent), model_(new NameListModel(this))
{
    setModel(model_);
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new ListRowDelegate(this));
    // actionTriggered fires only for the user's own scroll bar and wheel actions, before the
    // value follows the slider position; apply it first, so that topRow() is already the new
    // top row when the other list aligns to it.
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] {
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(bar->sliderPosition());
        emit userScrolled(bar->value());
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (userDepth_ > 0)
            userSelectionTouched_ = true;
    });
}

int NameListView::topRow() const
{
    return verticalScrollBar()->value();
}

void NameListView::setTopRow(int row)
{
    if (rowCount() == 0)
        return;
    executeDelayedItemsLayout(); // a fresh reset has no scroll range yet
    verticalScrollBar()->setValue(row);
}

std::vector<bool> NameListView::selectedFlags() const
{
    std::vector<bool> flags(static_cast<std::size_t>(rowCount()), false);
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r)
            if (r >= 0 && r < rowCount())
                flags[static_cast<std::size_t>(r)] = true;
    return flags;
}

void NameListView::setSelectedFlags(const std::vector<bool>& flags)
{
    QItemSelection selection;
    const int n = std::min(rowCount(), static_cast<int>(flags.size()));
    for (int r = 0; r < n;) {
        if (!flags[static_cast<std::size_t>(r)]) {
            ++r;
            continue;
        }
        int end = r;
        while (end + 1 < n && flags[static_cast<std::size_t>(end + 1)])
            ++end;
        selection.append(QItemSelectionRange(model_->index(r), model_->index(end)));
        r = end + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void NameListView::selectAllRows()
{
    if (rowCount() == 0)
        return;
    QItemSelection all(model_->index(0), model_->index(rowCount() - 1));
    selectionModel()->select(all, QItemSelectionModel::ClearAndSelect);
}

void NameListView::clearSelectedRows()
{
    selectionModel()->clearSelection();
}

template <typename F>
void NameListView::UserInput(F&& f)
{
    const int topBefore = topRow();
    ++userDepth_;
    f();
    --userDepth_;
    if (userDepth_ > 0)
        return;
    if (userSelectionTouched_) {
        userSelectionTouched_ = false;
        emit userSelectionChanged();
    } else if (topRow() != topBefore) {
        emit userScrolled(topRow());
    }
}

void NameListView::mousePressEvent(QMouseEvent* e)
{
    // A right click opens the context menu on the selection as it stands; letting it select
    // the row under the mouse would make the menu act on that one file instead.
    if (e->button() == Qt::RightButton) {
        e->accept();
        return;
    }
    UserInput([&] { QListView::mousePressEvent(e); });
}

void NameListView::mouseMoveEvent(QMouseEvent* e)
{
    UserInput([&] { QListView::mouseMoveEvent(e); });
}

void NameListView::mouseReleaseEvent(QMouseEvent* e)
{
    UserInput([&] { QListView::mouseReleaseEvent(e); });
}

void NameListView::mouseDoubleClickEvent(QMouseEvent* e)
{
    UserInput([&] { QListView::mouseDoubleClickEvent(e); });
}

void NameListView::keyPressEvent(QKeyEvent* e)
{
    UserInput([&] { QListView::keyPressEvent(e); });
}
