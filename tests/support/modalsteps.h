#pragma once
// Drives a chain of modal windows the way a user would: each step waits for its window to be
// the active modal one and then acts on it once. A step that opens a further modal window
// must do so with Later(), so the step itself returns before that window's loop starts.
#include "support/modalboxes.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

struct ModalStep {
    QString Window; // objectName, or a class name such as "QMessageBox"
    std::function<void(QWidget*)> Act;
};

struct ModalRun {
    std::size_t StepsDone = 0;
    std::vector<SeenBox> Boxes; // every message box a step answered with BoxStep
    QStringList Unexpected;     // modal windows no step was waiting for (closed)
};

// Runs action and the steps; windows left over are closed so a test never hangs.
ModalRun RunModalSteps(const std::function<void()>& action, std::vector<ModalStep> steps);

// A step that records the active message box into run.Boxes and presses its default button.
ModalStep BoxStep(ModalRun& run);

// Clicks a button from the event loop rather than from inside the step.
void Later(QAbstractButton* button);
