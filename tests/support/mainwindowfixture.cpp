#include "support/mainwindowfixture.h"

#include "filelist/widgets/namelistview.h"

#include <QTest>

StartedProgram StartProgram(const std::string& programFolder)
{
    StartedProgram p;
    p.startupBoxes = RunAnsweringBoxes([&] { p.windows = CreateWindows(programFolder); });
    p.windows.Main->show();
    QApplication::processEvents();
    return p;
}

std::vector<std::string> RowBytes(NameListView* list)
{
    std::vector<std::string> rows;
    for (int r = 0; r < list->model()->rowCount(); ++r)
        rows.push_back(list->model()->index(r, 0).data(Qt::UserRole).toByteArray().toStdString());
    return rows;
}
