#include "support/modalboxes.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QTimer>

std::vector<SeenBox> RunAnsweringBoxes(const std::function<void()>& action, const BoxAnswer& answer,
                                       const std::function<void(QWidget*)>& otherDialog)
{
    std::vector<SeenBox> seen;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (!box->isVisible())
                return;
            SeenBox s;
            s.Title = box->windowTitle();
            s.Text = box->text();
            s.InformativeText = box->informativeText();
            s.Icon = box->icon();
            for (QAbstractButton* b : box->buttons())
                s.Buttons << b->text();
            seen.push_back(s);
            QAbstractButton* button = answer ? answer(box) : nullptr;
            if (button)
                button->click();
            else if (box->defaultButton())
                box->defaultButton()->click();
            else
                box->accept();
        } else if (otherDialog) {
            otherDialog(modal);
        }
    });
    timer.start();
    action();
    timer.stop();
    return seen;
}
