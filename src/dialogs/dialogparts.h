#pragma once
// Small pieces the three dialogs share: fixed-size dialog frames, fonts and named controls.
#include <QFont>
#include <QRect>
#include <QString>

class QDialog;
class QWidget;

// "ＭＳ Ｐゴシック" (proportional) or "ＭＳ ゴシック" (fixed pitch) at a pixel size.
QFont DialogFont(bool fixedPitch, int pixels);

// A dialog of a fixed client size with a title and a close box, no maximise button.
void MakeFixedDialog(QDialog* dialog, const char* name, const QString& caption, int width,
                     int height);

// Creates a child control with its name and place.
template <typename W>
W* MakeControl(QWidget* parent, const char* name, QRect geometry)
{
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}
