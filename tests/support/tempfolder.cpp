#include "support/tempfolder.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>

TempFolder::TempFolder()
{
    std::string pattern = "/tmp/pelkorin-test-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(path_), ec);
}

std::string TempFolder::operator/(const std::string& relative) const
{
    return path_ + "/" + relative;
}

void TempFolder::Write(const std::string& name, const std::string& content) const
{
    std::ofstream out(*this / name, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out)
        throw std::runtime_error("cannot write " + name);
}

void TempFolder::MakeFolder(const std::string& name) const
{
    std::filesystem::create_directories(std::filesystem::path(*this / name));
}

std::string TempFolder::Read(const std::string& name) const
{
    std::ifstream in(*this / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool TempFolder::Exists(const std::string& name) const
{
    struct stat st;
    return lstat((*this / name).c_str(), &st) == 0;
}

std::vector<std::string> TempFolder::Files() const
{
    std::vector<std::string> names;
    DIR* d = opendir(path_.c_str());
    if (!d)
        return names;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        struct stat st;
        if (name != "." && name != ".." && stat((*this / name).c_str(), &st) == 0 && !S_ISDIR(st.st_mode))
            names.push_back(name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}
