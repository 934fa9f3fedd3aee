#pragma once
// The strip between the two name lists. Dragging it changes the width of the left list;
// the window places the strip's buttons after each move.
#include <QFrame>

class SplitterStrip : public QFrame {
    Q_OBJECT
public:
    explicit SplitterStrip(QWidget* parent = nullptr);

signals:
    // The user dragged the strip by dx pixels.
    void dragged(int dx);
    void moved();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool dragging_ = false;
    int lastX_ = 0;
};
