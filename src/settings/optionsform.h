#pragma once
// What the options dialog holds when "登録" is pressed, and the values it saves and applies.
// Widget-free, so the rules can be checked without a window.
#include "settings/settingsfile.h"

#include <string>

struct OptionsForm {
    std::string StartFolder;                                 // Edit1, raw bytes
    bool ChangeText = false, PadDigits = false, Sequential = false; // Check3, Check4, Check5
    int DigitCount = 3;                                      // UpDown1, 0 to 100
    bool ExtLowerCase = false, JpegToJpg = false, ChangeExt = false; // Check0, Check1, Check2
    std::string ViewerPath;                                  // Edit3, raw bytes
    bool SaveActualPosition = true;                          // CheckBox2
    int BarLeft = 0, BarTop = 0;                             // HBar, VBar
    std::string BaseNumber = "0";                            // text2
};

// The values to write and apply: the position is the main window's actual one while
// SaveActualPosition is set, else the track bars'. The digit count stays as the user set it.
SettingsValues SavedValues(const OptionsForm& form, int windowLeft, int windowTop);

// The options dialog's spin reaches 0 to 100; the main window's holds 1 to 9.
int MainDigitCount(int count);

// A track bar spans 0 to the screen's extent less a margin, never a negative range.
int TrackBarMaximum(int screenExtent, int margin);
// A track bar keeps its position inside 0 to maximum.
int TrackBarPosition(int value, int maximum);
