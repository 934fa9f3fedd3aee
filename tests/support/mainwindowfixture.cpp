#include "support/mainwindowfixture.h"

#include "filelist/widgets/namelistview.h"

#include <QLabel>
#include <QTest>

StartedProgram StartProgram(const std::string& programFolder, AppServices services)
{
    StartedProgram p;
    p.startupBoxes = RunAnsweringBoxes(
        [&] { p.windows = CreateWindows(programFolder, std::move(services)); });
    p.windows.Main->show();
    QApplication::processEvents();
    return p;
}

AppServices OnVolumes(std::vector<platform::Volume> volumes)
{
    AppServices services;
    services.Volumes = [volumes = std::move(volumes)] { return volumes; };
    return services;
}

std::vector<std::string> RowBytes(NameListView* list)
{
    std::vector<std::string> rows;
    for (int r = 0; r < list->model()->rowCount(); ++r)
        rows.push_back(list->model()->index(r, 0).data(Qt::UserRole).toByteArray().toStdString());
    return rows;
}

ProgramInWork::ProgramInWork(const std::vector<std::pair<std::string, std::string>>& files,
                             const std::vector<std::string>& folders)
{
    root_.MakeFolder("work");
    for (const auto& [name, content] : files)
        root_.Write("work/" + name, content);
    for (const std::string& f : folders)
        root_.MakeFolder("work/" + f);
    p_ = StartProgram(work());
}

QString ProgramInWork::counter() const
{
    return Find<QLabel>(m(), "actlabel")->text();
}

NameListView* ProgramInWork::list(const char* name) const
{
    return Find<NameListView>(m(), name);
}
