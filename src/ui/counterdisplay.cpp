#include "ui/counterdisplay.h"

#include "base/numbers.h"

#include <QLabel>

namespace {
constexpr qint64 kFrameMs = 16;
}

CounterDisplay::CounterDisplay(QLabel* label) : label_(label)
{
    sincePaint_.start();
}

CounterDisplay::~CounterDisplay()
{
    if (pending_)
        Flush(false);
}

void CounterDisplay::Show(int n, int t)
{
    n_ = n;
    t_ = t;
    pending_ = true;
    if ((n == 1 || n == t || sincePaint_.elapsed() >= kFrameMs))
        Flush(true);
}

void CounterDisplay::ShowNow()
{
    if (pending_)
        Flush(true);
}

void CounterDisplay::Flush(bool repaint)
{
    label_->setText(QString::fromStdString(FormatCounter(n_, t_)));
    pending_ = false;
    if (repaint) {
        label_->repaint();
        sincePaint_.restart();
    }
}
