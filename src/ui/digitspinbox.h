#pragma once
// The digit-count spin control: only its arrows show, the count itself is shown in edit2.
#include <QSpinBox>

class DigitSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit DigitSpinBox(QWidget* parent = nullptr);
};
