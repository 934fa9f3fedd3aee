#include "ui/appicon.h"

#include <QPainter>
#include <QPixmap>

QIcon ProgramIcon()
{
    // A small picture card with a numbered tag: renaming photos in sequence.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.setBrush(QColor(0, 128, 128));
    p.drawRect(2, 4, 24, 20);
    p.setBrush(QColor(255, 255, 0));
    p.drawEllipse(6, 8, 6, 6);
    p.setBrush(QColor(0, 128, 0));
    p.drawPolygon(QPolygon({QPoint(4, 22), QPoint(12, 13), QPoint(18, 19), QPoint(24, 22)}));
    p.setBrush(Qt::white);
    p.drawRect(16, 18, 14, 11);
    p.setPen(QColor(128, 0, 0));
    QFont f;
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(16, 18, 14, 11), Qt::AlignCenter, QStringLiteral("01"));
    p.end();
    return QIcon(pixmap);
}
