#include "support/mainwindowfixture.h"

#include <QTest>

StartedProgram StartProgram(const std::string& programFolder)
{
    StartedProgram p;
    p.startupBoxes = RunAnsweringBoxes([&] { p.windows = CreateWindows(programFolder); });
    p.windows.Main->show();
    QApplication::processEvents();
    return p;
}
