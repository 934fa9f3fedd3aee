#include "dialogs/dialogparts.h"

#include "ui/appicon.h"

#include <QDialog>

void MakeFixedDialog(QDialog* dialog, const char* name, const QString& caption, int width,
                     int height)
{
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowTitle(caption);
    dialog->setWindowIcon(ProgramIcon());
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    dialog->setFont(WindowFont(false, 12));
    dialog->setFixedSize(width, height);
    dialog->setSizeGripEnabled(false);
}
