#pragma once
// What every window builds its controls from: the program's two fonts and a named, placed child.
#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

// "ＭＳ ゴシック" (fixed pitch) or "ＭＳ Ｐゴシック" (proportional) at a pixel size; start-up maps
// both names to the IPA fonts.
inline QFont WindowFont(bool fixedPitch, int pixels)
{
    QFont f(fixedPitch ? QStringLiteral("ＭＳ ゴシック") : QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(pixels);
    return f;
}

// Creates a child control with its name and place.
template <typename W>
W* MakeControl(QWidget* parent, const char* name, QRect geometry)
{
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}
