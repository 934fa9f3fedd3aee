#include "app/windows.h"

#include <QApplication>
#include <QFile>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Windows windows = CreateWindows(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    windows.Main->show();
    return app.exec();
}
