#pragma once
// Shows a run's progress on the counter label. Repainting once per file would dominate a
// run over 100,000 files, so the label is repainted at most once per screen frame; the
// last count always lands on the label, also when the run ends with an error.
#include <QElapsedTimer>

class QLabel;

class CounterDisplay {
public:
    explicit CounterDisplay(QLabel* label);
    ~CounterDisplay();
    CounterDisplay(const CounterDisplay&) = delete;
    CounterDisplay& operator=(const CounterDisplay&) = delete;

    void Show(int n, int t);
    // Puts the latest count on the label at once, as before a box that names that file.
    void ShowNow();

private:
    void Flush(bool repaint);

    QLabel* label_;
    QElapsedTimer sincePaint_;
    int n_ = -1, t_ = -1;
    bool pending_ = false;
};
