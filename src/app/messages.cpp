#include "app/messages.h"

#include <QMessageBox>

namespace {
void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QStringLiteral("Pelkorin"), text, QMessageBox::Ok, parent);
    box.exec();
}
} // namespace

namespace {
std::function<void(const QString&)>& MessageSink()
{
    static std::function<void(const QString&)> sink;
    return sink;
}
} // namespace

void SetMessageSinkForTesting(std::function<void(const QString&)> sink)
{
    MessageSink() = std::move(sink);
}

void ShowMessage(QWidget* parent, const QString& text)
{
    if (MessageSink()) {
        MessageSink()(text);
        return;
    }
    ShowBox(parent, QMessageBox::NoIcon, text);
}

void ShowMessage(QWidget* parent, const std::string& utf8)
{
    ShowMessage(parent, QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

std::string ErrorBoxText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

void ShowErrorBox(QWidget* parent, const std::string& message)
{
    const std::string text = ErrorBoxText(message);
    ShowBox(parent, QMessageBox::Critical,
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}
