#include "bench/benchsupport.h"

#include "support/tempfolder.h"

#include "filelist/folderlisting.h"
#include "filelist/listingorder.h"
#include "filelist/widgets/namelistview.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {
// Removed with their files when the process ends.
std::vector<std::unique_ptr<TempFolder>>& Created()
{
    static std::vector<std::unique_ptr<TempFolder>> folders;
    return folders;
}
} // namespace

std::string MakeBenchFolder(const std::string& tag, int count, const std::string& prefix,
                            const std::string& extension)
{
    static std::map<std::string, std::string> made;
    if (auto it = made.find(tag); it != made.end())
        return it->second;
    const TempFolder& base = *Created().emplace_back(std::make_unique<TempFolder>());
    std::string folder = base / "files";
    std::filesystem::create_directory(folder);
    char name[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "%06d", i);
        std::string path = folder + "/" + prefix + name + extension;
        int fd = open(path.c_str(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0)
            close(fd);
    }
    made[tag] = folder;
    return folder;
}

Windows StartOn(const std::string& folder)
{
    std::string program = std::filesystem::path(folder).parent_path().string() + "/program";
    std::filesystem::create_directories(program);
    std::ofstream ini(program + "/Pelkorin.ini", std::ios::binary | std::ios::trunc);
    ini << "Pelkorin Ver0.9\r\n\r\n" << folder << "\r\n";
    for (int line = 3; line <= 24; ++line)
        ini << (line == 10 ? "3" : (line == 20 || line == 22 || line == 24) ? "0" : "") << "\r\n";
    ini.close();
    // A benchmark can't sit through a modal box: its messages go nowhere.
    AppServices services;
    services.Message = [](QWidget*, const QString&, const QString&) {};
    return CreateWindows(program, std::move(services));
}

long ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

void ReportRatio(benchmark::State& state, double measured, double baseline, double target)
{
    state.counters["ratio"] = measured / baseline;
    state.counters["target"] = target;
}

std::vector<std::string> BareReadAndSort(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(folder.c_str())) {
        while (const dirent* e = readdir(d))
            if (e->d_name[0] != '.')
                names.emplace_back(e->d_name);
        closedir(d);
    }
    SortListing(names);
    return names;
}

namespace {
double CpuSeconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}
} // namespace

double ThreadCpuSeconds()
{
    return CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
}

double ProcessCpuSeconds()
{
    return CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Executions keep their undo record under the state folder: never the user's own.
    const TempFolder state;
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString(state.path()));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Created().clear();
    return 0;
}

double RenameFloor(const std::string& folder, int files, char from, char to)
{
    const auto start = std::chrono::steady_clock::now();
    const int dir = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    char a[32], b[32];
    for (int i = 0; i < files; ++i) {
        std::snprintf(a, sizeof a, "%c%06d.jpg", from, i);
        std::snprintf(b, sizeof b, "%c%06d.jpg", to, i);
        renameat2(dir, a, dir, b, RENAME_NOREPLACE);
    }
    close(dir);
    FolderListing listing{folder, {}};
    listing.Read();
    benchmark::DoNotOptimize(listing.Names.data());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void ExpectAllNamesStartWith(TMain* m, int files, char first)
{
    const auto& names = Control<NameListView>(m, "oldfile")->names()->names();
    if (static_cast<int>(names.size()) != files ||
        std::any_of(names.begin(), names.end(), [&](const std::string& n) { return n[0] != first; }))
        throw std::runtime_error(std::string("not every file starts with ") + first);
}
