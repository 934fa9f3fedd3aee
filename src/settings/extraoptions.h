#pragma once
// The options the settings file of 25 lines has no line for: kept apart, in
// pelkorin.conf under the user's configuration folder, so that file keeps its form.
#include <cstdint>
#include <string>

struct ExtraOptions {
    bool Companions = false;  // RAW files and sidecars are renamed with their photo
    bool CaptureName = false; // textvol is a pattern of the capture time
    bool DayCounter = false;  // the sequence number starts again each day
    int64_t ClockOffset = 0;  // seconds added to every capture time
    bool operator==(const ExtraOptions&) const = default;
};

// $XDG_CONFIG_HOME/pelkorin/pelkorin.conf (~/.config/... when unset).
std::string ExtraOptionsPath();

// The options as stored. A missing, unreadable or damaged file, and any value other than
// "true" or "false", read as the defaults: off; a clock offset not of the form "+H:MM:SS",
// none.
ExtraOptions ReadExtraOptions();

// Stores the options, making the folder when it is missing, and keeps any other keys of the
// file. False when the file could not be written; throws EFileError when something that is no
// regular file stands in its place.
bool WriteExtraOptions(const ExtraOptions& options);
