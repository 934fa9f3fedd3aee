#include "ui/digitspinbox.h"

#include <QLineEdit>

DigitSpinBox::DigitSpinBox(QWidget* parent) : QSpinBox(parent)
{
    setRange(1, 9);
    setValue(3);
    setWrapping(false);
    lineEdit()->setReadOnly(true);
    lineEdit()->hide();
}
