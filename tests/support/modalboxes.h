#pragma once
// Answers the modal boxes an action opens, the way a user would, and records what they showed.
#include <QMessageBox>
#include <QString>
#include <functional>
#include <vector>

struct SeenBox {
    QString Title;
    QString Text;
    QString InformativeText;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QStringList Buttons; // button texts, in order
};

// What to do with an open box: return the button to click (nullptr: the default OK/accept).
using BoxAnswer = std::function<QAbstractButton*(QMessageBox*)>;

// Runs action; each message box it opens is recorded and answered (OK by default).
// Other modal dialogs are handed to otherDialog, which must close them.
std::vector<SeenBox> RunAnsweringBoxes(const std::function<void()>& action,
                                       const BoxAnswer& answer = {},
                                       const std::function<void(QWidget*)>& otherDialog = {});
