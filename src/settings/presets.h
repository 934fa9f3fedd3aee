#pragma once
// Saved setups of the rename inputs, kept per user in presets.conf beside pelkorin.conf,
// in the order they were first saved. Widget-free.
#include "rename/renameinputs.h"

#include <optional>
#include <string>
#include <vector>

struct Preset {
    std::string Name; // UTF-8, trimmed, 1 to 64 characters
    RenameInputValues Values;
    bool operator==(const Preset&) const = default;
};

// $XDG_CONFIG_HOME/pelkorin/presets.conf (~/.config/... when unset).
std::string PresetsPath();

struct PresetsRead {
    std::vector<Preset> Presets;
    bool Damaged = false; // the file is there but could not be read or made no sense
};

// The presets of the file at path: none when there is no file; none and Damaged when it
// can't be read or any entry in it is not one this program wrote.
PresetsRead ReadPresetsFile(const std::string& path);
// Writes the presets to path, making its folder. keepOld: the file there is damaged, so it is
// first copied beside itself (path + ".damaged", else ".damaged-2" and on) and nothing the
// user once saved is lost. False when the file could not be written.
bool WritePresetsFile(const std::string& path, const std::vector<Preset>& presets, bool keepOld);

// A name as a preset holds it: trimmed; none when empty or longer than 64 characters.
std::optional<std::string> PresetNameOf(const std::string& typed);

// The presets of one session: read once, changed here, written at each change.
class PresetList {
public:
    explicit PresetList(std::string path) : path_(std::move(path)) {}
    void Load();
    const std::vector<Preset>& All() const { return presets_; }
    const Preset* Find(const std::string& name) const;
    // Saves (a new name at the end, a known one in its place) or removes, then writes the
    // file. Throws EFileError "ファイルを書き込めません: " + path when it can't be written;
    // the change holds for this session all the same.
    void Save(const std::string& name, const RenameInputValues& values);
    void Remove(const std::string& name);
    const std::string& Path() const { return path_; }

private:
    void Write();

    std::string path_;
    std::vector<Preset> presets_;
    bool damaged_ = false;
};
