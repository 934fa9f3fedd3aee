#include "platform/mountinfo.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

// The kernel writes space, tab, newline and backslash in names as \040, \011, \012, \134.
std::string Unescaped(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto octal = [&](std::size_t k) { return field[k] >= '0' && field[k] <= '7'; };
        if (field[i] == '\\' && i + 3 < field.size() && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

// The fields of a line, split at single spaces.
std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

bool ParseUnsigned(std::string_view text, unsigned& value)
{
    if (text.empty())
        return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return true;
}

} // namespace

std::optional<MountEntry> ParseMountInfoLine(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    const std::vector<std::string_view> f = Fields(line);
    // Six fields, any number of optional ones, the separator, then type and source.
    if (f.size() < 9)
        return std::nullopt;
    std::size_t dash = 6;
    while (dash < f.size() && f[dash] != "-")
        ++dash;
    if (dash + 2 >= f.size())
        return std::nullopt;
    MountEntry e;
    const std::size_t colon = f[2].find(':');
    if (colon == std::string_view::npos || !ParseUnsigned(f[2].substr(0, colon), e.Major) ||
        !ParseUnsigned(f[2].substr(colon + 1), e.Minor))
        return std::nullopt;
    e.MountPoint = Unescaped(f[4]);
    e.Type = Unescaped(f[dash + 1]);
    e.Source = Unescaped(f[dash + 2]);
    if (e.MountPoint.empty() || e.Type.empty())
        return std::nullopt;
    return e;
}

std::vector<MountEntry> ReadMountInfo()
{
    std::vector<MountEntry> mounts;
    const int fd = open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return mounts;
    std::string text;
    char buffer[16384];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (auto e = ParseMountInfoLine(std::string_view(text).substr(start, end - start)))
            mounts.push_back(std::move(*e));
        start = end + 1;
    }
    return mounts;
}

} // namespace platform
