#pragma once
// The frame the three dialogs share; their fonts and controls come from ui/controls.h.
#include "ui/controls.h"

#include <QString>

class QDialog;
class QWidget;

// A dialog of a fixed client size with a title and a close box, no maximise button.
void MakeFixedDialog(QDialog* dialog, const char* name, const QString& caption, int width,
                     int height);

