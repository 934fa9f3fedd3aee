#include "app/splitterstrip.h"

#include <QMouseEvent>

SplitterStrip::SplitterStrip(QWidget* parent) : QFrame(parent)
{
    setCursor(Qt::SplitHCursor);
}

void SplitterStrip::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    lastX_ = e->globalPosition().toPoint().x();
}

void SplitterStrip::mouseMoveEvent(QMouseEvent* e)
{
    if (!dragging_)
        return;
    const int x = e->globalPosition().toPoint().x();
    if (x != lastX_) {
        emit dragged(x - lastX_);
        lastX_ = x;
    }
}

void SplitterStrip::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && dragging_) {
        dragging_ = false;
        emit moved();
    }
}
