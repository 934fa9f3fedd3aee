#include "dialogs/dialogparts.h"

#include "app/appicon.h"

#include <QDialog>

QFont DialogFont(bool fixedPitch, int pixels)
{
    QFont f(fixedPitch ? QStringLiteral("ＭＳ ゴシック") : QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(pixels);
    return f;
}

void MakeFixedDialog(QDialog* dialog, const char* name, const QString& caption, int width,
                     int height)
{
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowTitle(caption);
    dialog->setWindowIcon(ProgramIcon());
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    dialog->setFont(DialogFont(false, 12));
    dialog->setFixedSize(width, height);
    dialog->setSizeGripEnabled(false);
}
