#include "support/modalsteps.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {
bool Matches(QWidget* w, const QString& name)
{
    return w->objectName() == name || w->inherits(name.toLatin1().constData());
}
} // namespace

ModalRun RunModalSteps(const std::function<void()>& action, std::vector<ModalStep> steps)
{
    ModalRun run;
    QElapsedTimer waiting;
    waiting.start();
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) {
            waiting.restart();
            return;
        }
        if (run.StepsDone < steps.size() && Matches(modal, steps[run.StepsDone].Window)) {
            waiting.restart();
            ModalStep& step = steps[run.StepsDone++];
            step.Act(modal);
            return;
        }
        // Give a window that is still being set up a moment before calling it unexpected.
        if (waiting.elapsed() < 2000)
            return;
        run.Unexpected << (modal->objectName().isEmpty()
                               ? QString::fromLatin1(modal->metaObject()->className())
                               : modal->objectName());
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            run.Unexpected.last() += QStringLiteral(": ") + box->text();
        modal->close();
        waiting.restart();
    });
    timer.start();
    action();
    timer.stop();
    return run;
}

ModalStep BoxStep(ModalRun& run)
{
    return {QStringLiteral("QMessageBox"), [&run](QWidget* w) {
                auto* box = qobject_cast<QMessageBox*>(w);
                SeenBox s;
                s.Title = box->windowTitle();
                s.Text = box->text();
                s.Icon = box->icon();
                for (QAbstractButton* b : box->buttons())
                    s.Buttons << b->text();
                run.Boxes.push_back(s);
                if (box->defaultButton())
                    box->defaultButton()->click();
                else
                    box->accept();
            }};
}

void Later(QAbstractButton* button)
{
    QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
}
