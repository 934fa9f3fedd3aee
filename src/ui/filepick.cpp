#include "ui/filepick.h"

#include <QFile>
#include <QFileDialog>

std::optional<std::string> PickFile(QFileDialog*& dialog, QWidget* parent, const QString& title)
{
    if (!dialog) {
        dialog = new QFileDialog(parent, title);
        dialog->setObjectName(QStringLiteral("OpenDialog1"));
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setFileMode(QFileDialog::ExistingFile);
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
    }
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return QFile::encodeName(dialog->selectedFiles().first()).toStdString();
}
