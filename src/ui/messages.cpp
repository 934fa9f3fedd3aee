#include "ui/messages.h"

#include "base/utf8.h"

#include <QMessageBox>
#include <QPushButton>

namespace {
// A message quoting a runaway text (a settings line of megabytes, say) would take the box
// ages to lay out; its middle is left out, so both ends of the message still show.
QString Bounded(const QString& text)
{
    constexpr qsizetype kKeep = 1000;
    if (text.size() <= 2 * kKeep)
        return text;
    return text.left(kKeep) + QStringLiteral("…") + text.right(kKeep);
}

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
             const QString& informative = {})
{
    QMessageBox box(icon, QStringLiteral("Pelkorin"), Bounded(text), QMessageBox::Ok, parent);
    box.setInformativeText(informative);
    box.exec();
}
} // namespace

void ShowMessage(QWidget* parent, const QString& text)
{
    ShowBox(parent, QMessageBox::NoIcon, text);
}

void ShowMessage(QWidget* parent, const QString& text, const QString& informative)
{
    ShowBox(parent, QMessageBox::NoIcon, text, informative);
}

void ShowMessage(QWidget* parent, const std::string& utf8)
{
    ShowMessage(parent, FromUtf8(utf8));
}

bool AskYesNo(QWidget* parent, const QString& title, const QString& text, bool yesIsDefault)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yesIsDefault ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::string ErrorBoxText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

void ShowErrorBox(QWidget* parent, const std::string& message)
{
    ShowBox(parent, QMessageBox::Critical, FromUtf8(ErrorBoxText(message)));
}

void Teller::operator()(const QString& text, const QString& informative) const
{
    sink_(parent_, text, informative);
}

void Teller::operator()(const std::string& utf8) const
{
    (*this)(FromUtf8(utf8));
}
