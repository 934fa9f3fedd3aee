#pragma once
// What the execution will do with each row of a trial run, foreseen from one reading of the
// folder: the execution's own rules, replayed over the names instead of the disk.
#include "platform/foldersnapshot.h"
#include "rename/companions.h"

#include <cstdint>
#include <future>
#include <string>
#include <vector>

enum class Foresight : std::uint8_t {
    Fine,    // renamed, left as it is because the name does not change, or not selected
    Taken,   // reported: a file holds the new name when the execution gets there
    Refused, // the rename fails unreported: a folder or link of that name, an unsafe or too long name
    CompanionBlocked, // renamed with others, of which one can't be: so none is
};

// The foresight of one trial run. Reading a large folder costs about as much as composing its
// rows, so the folder is read on a thread of its own from the moment this is made, while the
// caller composes the rows; the reading touches nothing but its own data.
class ForesightReading {
public:
    explicit ForesightReading(const std::string& folder);
    ~ForesightReading();
    ForesightReading(const ForesightReading&) = delete;
    ForesightReading& operator=(const ForesightReading&) = delete;

    // One verdict per trial row (rows[i] is the new name of names[i] when selected[i]), in list
    // order, each rename that succeeds freeing its old name and taking its new one for the rows
    // after it. Nothing is marked when the folder could not be read. Call it once.
    std::vector<Foresight> Foresee(const std::vector<std::string>& names,
                                   const std::vector<bool>& selected,
                                   const std::vector<std::string>& rows);
    // The same over groups (companions.h), in their order: a group of which a file would be
    // left is renamed by none of its files, and the rows after it see its names unchanged.
    // Its failing file has its own verdict, the others CompanionBlocked.
    std::vector<Foresight> Foresee(const std::vector<std::string>& names, const FileGroups& groups,
                                   const std::vector<std::string>& rows);

private:
    std::future<platform::FolderSnapshot> folder_;
};

// The same in one call, for the folder as it stands now.
std::vector<Foresight> ForeseeRenamesIn(const std::string& folder,
                                        const std::vector<std::string>& names,
                                        const std::vector<bool>& selected,
                                        const std::vector<std::string>& rows);
std::vector<Foresight> ForeseeRenamesIn(const std::string& folder,
                                        const std::vector<std::string>& names,
                                        const FileGroups& groups,
                                        const std::vector<std::string>& rows);
