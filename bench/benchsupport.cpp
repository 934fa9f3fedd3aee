#include "bench/benchsupport.h"

#include "app/messages.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>
#include <vector>

namespace {
std::vector<std::string>& Created()
{
    static std::vector<std::string> folders;
    return folders;
}
} // namespace

std::string MakeBenchFolder(const std::string& tag, int count, const std::string& prefix,
                            const std::string& extension)
{
    static std::map<std::string, std::string> made;
    if (auto it = made.find(tag); it != made.end())
        return it->second;
    std::string base = "/tmp/pelkorin-bench-XXXXXX";
    if (!mkdtemp(base.data()))
        throw std::runtime_error("mkdtemp failed");
    Created().push_back(base);
    std::string folder = base + "/files";
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
    return CreateWindows(program);
}

long ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetMessageSinkForTesting([](const QString&) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const std::string& folder : Created()) {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    return 0;
}
