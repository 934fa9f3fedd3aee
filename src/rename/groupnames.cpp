#include "rename/groupnames.h"

#include "base/ascii.h"

#include <string_view>

namespace {
// The sequence number wraps like the 32-bit integer it is.
int32_t Next(int32_t n)
{
    return static_cast<int32_t>(static_cast<uint32_t>(n) + 1u);
}

std::string_view ExtensionOf(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

// The photo's new name without the extension ComposeNewName gave it: that extension is the
// photo's own after the three extension steps, the last thing composed.
std::string NewBaseName(const std::string& photo, const std::string& photoNew, const RenameOptions& o,
                        int32_t number, const std::string* textPart)
{
    std::string ext(ExtensionOf(photo));
    if (o.ExtLowerCase)
        ext = AsciiLower(std::move(ext));
    if (o.JpegToJpg && ext == ".jpeg")
        ext = ".jpg";
    if (o.ChangeExt)
        ext = o.NewExt.empty() ? std::string() : "." + o.NewExt;
    if (photoNew.ends_with(ext))
        return photoNew.substr(0, photoNew.size() - ext.size());
    // Should the steps ever differ from these, the name composed without any extension is
    // still the base name.
    RenameOptions bare = o;
    bare.ChangeExt = true;
    bare.NewExt.clear();
    return textPart ? ComposeNewName(photo, bare, number, *textPart) : ComposeNewName(photo, bare, number);
}
} // namespace

GroupNames ComposeGroupNames(const std::vector<std::string>& names, const FileGroups& groups,
                             const RenameOptions& options, int32_t firstNumber,
                             const RunProgress& progress)
{
    GroupNames out;
    out.Names.reserve(groups.Rows.size());
    const int t = static_cast<int>(groups.size());
    int32_t number = firstNumber;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        if (progress)
            progress(static_cast<int>(g) + 1, t);
        const std::string& photo = names[groups.PhotoOf(g)];
        if (options.Restarts && (*options.Restarts)[groups.PhotoOf(g)])
            number = firstNumber;
        const std::optional<std::string>* part =
            options.TextParts ? &(*options.TextParts)[groups.PhotoOf(g)] : nullptr;
        const std::size_t end = groups.Starts[g + 1];
        if (part && !*part) {
            // No text part for this photo: its whole group keeps its names.
            for (std::size_t j = groups.Starts[g]; j < end; ++j)
                out.Names.push_back(names[groups.Rows[j]]);
            ++out.Groups;
            number = Next(number);
            continue;
        }
        const std::string* textPart = part ? &**part : nullptr;
        try {
            out.Names.push_back(textPart ? ComposeNewName(photo, options, number, *textPart)
                                         : ComposeNewName(photo, options, number));
        } catch (...) {
            out.Failure = std::current_exception();
            return out;
        }
        if (end > groups.Starts[g] + 1) {
            const std::string photoNew = out.Names.back();
            const std::string_view photoBase = std::string_view(photo).substr(0, photo.size() - ExtensionOf(photo).size());
            const std::string newBase = NewBaseName(photo, photoNew, options, number, textPart);
            const std::size_t first = out.Names.size() - 1; // the photo's
            bool ofMembers = false;
            for (std::size_t j = groups.Starts[g] + 1; j < end; ++j) {
                const std::string& companion = names[groups.Rows[j]];
                const std::string_view ext = ExtensionOf(companion);
                const std::string_view base = std::string_view(companion).substr(0, companion.size() - ext.size());
                if (base == photoBase) {
                    out.Names.push_back(newBase + (options.ExtLowerCase ? AsciiLower(std::string(ext)) : std::string(ext)));
                } else {
                    out.Names.push_back(photoNew + std::string(ext));
                    ofMembers = ofMembers || base != photo;
                }
            }
            // A RAW file's own sidecar follows that member's new name, which may come later
            // in the group.
            for (std::size_t j = groups.Starts[g] + 1; ofMembers && j < end; ++j) {
                const std::string& companion = names[groups.Rows[j]];
                const std::string_view ext = ExtensionOf(companion);
                const std::string_view base = std::string_view(companion).substr(0, companion.size() - ext.size());
                if (base == photoBase || base == photo)
                    continue;
                for (std::size_t k = groups.Starts[g] + 1; k < end; ++k) {
                    if (names[groups.Rows[k]] == base) {
                        out.Names[first + (j - groups.Starts[g])] = out.Names[first + (k - groups.Starts[g])] + std::string(ext);
                        break;
                    }
                }
            }
        }
        ++out.Groups;
        number = Next(number);
    }
    return out;
}
