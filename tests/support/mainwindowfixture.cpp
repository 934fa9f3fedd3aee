#include "support/mainwindowfixture.h"

#include "filelist/widgets/namelistview.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <filesystem>

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

std::vector<std::string> ProgramInWork::OnDisk() const
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(work()))
        names.push_back(e.path().filename().native());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<SeenBox> ProgramInWork::Press(const char* button) const
{
    return RunAnsweringBoxes([&] { Find<QPushButton>(m(), button)->click(); });
}

std::vector<SeenBox> ProgramInWork::Trigger(const char* entry) const
{
    return RunAnsweringBoxes([&] { Find<QAction>(m(), entry)->trigger(); });
}

void ProgramInWork::SelectRows(const std::vector<int>& rows) const
{
    std::vector<bool> flags(static_cast<std::size_t>(list("oldfile")->rowCount()), false);
    for (int r : rows)
        flags.at(static_cast<std::size_t>(r)) = true;
    list("oldfile")->setSelectedFlags(flags);
}

int ProgramInWork::RowOf(const std::string& name) const
{
    const std::vector<std::string> rows = RowBytes(list("oldfile"));
    const auto it = std::find(rows.begin(), rows.end(), name);
    EXPECT_NE(it, rows.end()) << name;
    return static_cast<int>(it - rows.begin());
}

void ProgramInWork::SelectNames(const std::vector<std::string>& names) const
{
    std::vector<int> rows;
    for (const std::string& n : names)
        rows.push_back(RowOf(n));
    SelectRows(rows);
}
