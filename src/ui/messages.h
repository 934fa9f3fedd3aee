#pragma once
// The program's message boxes: plain messages and the error box (ui/guard.h shows failures in it).
#include <QString>
#include <functional>
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

// Where a window's plain messages go: the message box, or what a test puts in its place.
using MessageSink = std::function<void(QWidget* parent, const QString& text, const QString& informative)>;

// Tells the user something over one window, through its message sink.
class Teller {
public:
    Teller(QWidget* parent, MessageSink sink) : parent_(parent), sink_(std::move(sink)) {}
    void operator()(const QString& text, const QString& informative = {}) const;
    void operator()(const std::string& utf8) const;
    QWidget* Parent() const { return parent_; }

private:
    QWidget* parent_;
    MessageSink sink_;
};
