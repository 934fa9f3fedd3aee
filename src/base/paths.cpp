#include "base/paths.h"

#include <filesystem>

std::vector<std::string> PathComponents(const std::string& folder)
{
    std::vector<std::string> parts;
    for (const std::filesystem::path& part : std::filesystem::path(folder).relative_path())
        if (!part.empty())
            parts.push_back(part.native());
    return parts;
}

std::string NormalizeFolderPath(const std::string& path, const std::string& base)
{
    namespace fs = std::filesystem;
    fs::path p(path);
    if (!p.is_absolute())
        p = fs::path(base.empty() ? "/" : base) / p;
    // Repeated leading separators name the root too; the system treats "//a" as "/a".
    std::string normal = ("/" / p.relative_path()).lexically_normal().native();
    while (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return normal;
}

std::string ParentFolder(const std::string& folder)
{
    const std::size_t slash = folder.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return "/";
    return folder.substr(0, slash);
}

std::string FolderPrefix(const std::string& folder)
{
    return folder.ends_with('/') ? folder : folder + "/";
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return FolderPrefix(folder) + name;
}

bool FolderIsUnder(const std::string& path, const std::string& folder)
{
    return path == folder || path.starts_with(FolderPrefix(folder));
}
