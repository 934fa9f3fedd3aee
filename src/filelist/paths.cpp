#include "filelist/paths.h"

std::vector<std::string> PathComponents(const std::string& folder)
{
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i < folder.size()) {
        std::size_t j = folder.find('/', i);
        if (j == std::string::npos)
            j = folder.size();
        if (j > i)
            parts.push_back(folder.substr(i, j - i));
        i = j + 1;
    }
    return parts;
}

std::string NormalizeFolderPath(const std::string& path, const std::string& base)
{
    std::vector<std::string> out;
    if (path.empty() || path[0] != '/')
        out = PathComponents(NormalizeFolderPath(base.empty() ? "/" : base, "/"));
    for (auto& part : PathComponents(path)) {
        if (part == ".")
            continue;
        if (part == "..") {
            if (!out.empty())
                out.pop_back();
            continue;
        }
        out.push_back(std::move(part));
    }
    std::string result;
    for (const auto& part : out)
        result += "/" + part;
    return result.empty() ? "/" : result;
}

std::string ParentFolder(const std::string& folder)
{
    std::size_t slash = folder.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return "/";
    return folder.substr(0, slash);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

bool FolderIsUnder(const std::string& folder, const std::string& mountPoint)
{
    if (mountPoint == "/")
        return !folder.empty() && folder[0] == '/';
    if (folder.compare(0, mountPoint.size(), mountPoint) != 0)
        return false;
    return folder.size() == mountPoint.size() || folder[mountPoint.size()] == '/';
}
