#pragma once
// The digit-count spin control of both windows: only its arrows show; the count itself is
// shown in the edit beside it (edit2, Edit2). It holds 1 to 9 unless given another range.
#include <QSpinBox>

class DigitSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit DigitSpinBox(QWidget* parent = nullptr);
};
