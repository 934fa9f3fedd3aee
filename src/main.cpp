#include "app/commandline.h"
#include "app/windows.h"

#include <QApplication>
#include <QFile>

int main(int argc, char* argv[])
{
    const CommandLine commandLine = ReadCommandLine(argc, argv);
    if (commandLine.Exit)
        return commandLine.ExitCode;
    // Qt sees only the program's name: the folder is not one of its options.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    Windows windows = CreateWindows(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString(),
                                    AppServices{}, commandLine.Folder);
    windows.Main->show();
    return app.exec();
}
