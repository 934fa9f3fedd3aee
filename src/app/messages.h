#pragma once
// The program's message boxes: plain messages, the error box, and the guard that turns any
// failure of an event handler into the error box so nothing crosses the event loop.
#include <QString>
#include <exception>
#include <functional>
#include <string>

class QWidget;

// Replaces the plain message boxes (not the error box) with a sink until called with an
// empty function; for benchmarks that can't sit through a modal box.
void SetMessageSinkForTesting(std::function<void(const QString&)> sink);

// A modal box with an OK button, no icon, caption "Pelkorin".
void ShowMessage(QWidget* parent, const QString& text);
void ShowMessage(QWidget* parent, const std::string& utf8);
// The same box with an informative text under the message (none when empty).
void ShowMessage(QWidget* parent, const QString& text, const QString& informative);

// The error text: the message, plus "." when its last byte sorts after ".".
std::string ErrorBoxText(const std::string& message);
// A modal box with the error icon, an OK button, caption "Pelkorin".
void ShowErrorBox(QWidget* parent, const std::string& message);

// Runs f; any exception it throws is shown in the error box and goes no further.
template <typename F>
void Guarded(QWidget* parent, F&& f)
{
    std::string message;
    try {
        f();
        return;
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "予期しないエラーが発生しました";
    }
    ShowErrorBox(parent, message);
}
