#include "support/tempfolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <fcntl.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TempFolder::TempFolder() : TempFolder(QDir::tempPath().toStdString()) {}

TempFolder::TempFolder(const std::string& parent)
    : dir_(QString::fromStdString(parent) + QStringLiteral("/pelkorin-test-XXXXXX"))
{
    if (!dir_.isValid())
        throw std::runtime_error("cannot make a temporary folder: " + dir_.errorString().toStdString());
    path_ = dir_.path().toStdString();
}

TempFolder::~TempFolder()
{
    // QTemporaryDir passes over names that are not UTF-8 and then can't remove their folder;
    // the standard library removes by bytes.
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::operator/(const std::string& relative) const
{
    return path_ + "/" + relative;
}

std::string TempFolder::Write(const std::string& name, const std::string& content) const
{
    const std::string path = *this / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out)
        throw std::runtime_error("cannot write " + name);
    return path;
}

bool TempFolder::Touch(const std::string& name, std::time_t modified) const
{
    // utimensat, because std::filesystem's clock cannot hold the far dates tests need.
    const timespec times[2] = {{modified, 0}, {modified, 0}};
    return utimensat(AT_FDCWD, (*this / name).c_str(), times, 0) == 0;
}

void TempFolder::MakeFolder(const std::string& name) const
{
    fs::create_directories(fs::path(*this / name));
}

std::string TempFolder::Read(const std::string& name) const
{
    return ReadFileBytes(*this / name);
}

bool TempFolder::Exists(const std::string& name) const
{
    std::error_code ec;
    return fs::symlink_status(fs::path(*this / name), ec).type() != fs::file_type::not_found && !ec;
}

std::vector<std::string> TempFolder::Files() const
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(fs::path(path_), ec)) {
        // Followed as the program follows it: a dangling link is no file.
        const fs::file_type type = fs::status(e.path(), ec).type();
        if (!ec && type != fs::file_type::not_found && type != fs::file_type::directory)
            names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
