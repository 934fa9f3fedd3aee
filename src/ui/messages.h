#pragma once
// The program's message boxes: plain messages and the error box (ui/guard.h shows failures in it).
#include <QString>
#include <string>

class QWidget;

// A modal box with an OK button, no icon, caption "Pelkorin".
void ShowMessage(QWidget* parent, const QString& text);
void ShowMessage(QWidget* parent, const std::string& utf8);
// The same box with an informative text under the message (none when empty).
void ShowMessage(QWidget* parent, const QString& text, const QString& informative);

// A modal warning question with the buttons "はい(&Y)" and "いいえ(&N)"; true only for はい.
// Escape and closing the box answer no; yesIsDefault says which button Enter presses.
bool AskYesNo(QWidget* parent, const QString& title, const QString& text, bool yesIsDefault);

// The error text: the message, plus "." when its last byte sorts after ".".
std::string ErrorBoxText(const std::string& message);
// A modal box with the error icon, an OK button, caption "Pelkorin".
void ShowErrorBox(QWidget* parent, const std::string& message);
