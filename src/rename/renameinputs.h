#pragma once
// The values the new names are formed from, apart from the widgets that show them: the
// controls edit them here, and the trial run, the execution, the watch over a trial run that
// no longer holds and the presets read them. A preset is a saved copy of RenameInputValues.
// The two extension flags stay with the settings file (settings/programsettings.h).
#include "rename/naming.h"

#include <QObject>
#include <cstdint>
#include <string>

struct RenameInputValues {
    bool ChangeText = true;       // Check1
    std::string NewText;          // textvol: raw bytes (a clicked row's text part need not be UTF-8)
    bool PadDigits = true;        // Check2
    int DigitCount = 3;           // UpDown1, 1 to 9
    bool Sequential = false;      // Check3
    std::string BaseNumber = "0"; // text2 as typed; read as a number only when a run starts
    bool ChangeExt = false;       // Check4
    std::string NewExt = "jpg";   // Edit4
    bool Companions = false;      // Companions1
    bool CaptureName = false;     // CaptureName1: NewText is a pattern of the capture time
    bool DayCounter = false;      // DayCounter1: the sequence starts again each day
    int64_t ClockOffset = 0;      // ClockOffset1: seconds added to every capture time
    bool operator==(const RenameInputValues&) const = default;
};

// The options of one run from the inputs and the two extension flags; digit count and the
// rest as the inputs hold them.
RenameOptions OptionsOf(const RenameInputValues& in, bool extLowerCase, bool jpegToJpg);

class RenameInputs : public QObject {
    Q_OBJECT
public:
    explicit RenameInputs(QObject* parent = nullptr) : QObject(parent) {}

    const RenameInputValues& Values() const { return values_; }
    // Each setter tells of a change only when a value really changed.
    void Set(const RenameInputValues& values);
    template <typename T, typename V>
    void Set(T RenameInputValues::*field, V&& value)
    {
        RenameInputValues next = values_;
        next.*field = std::forward<V>(value);
        Set(next);
    }

signals:
    // A value the new names depend on changed.
    void changed();

private:
    RenameInputValues values_;
};
