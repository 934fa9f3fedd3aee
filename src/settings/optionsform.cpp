#include "settings/optionsform.h"

#include <algorithm>

SettingsValues SavedValues(const OptionsForm& form, int windowLeft, int windowTop)
{
    SettingsValues v;
    v.StartFolder = form.StartFolder;
    v.ChangeText = form.ChangeText;
    v.PadDigits = form.PadDigits;
    v.Sequential = form.Sequential;
    v.DigitCount = form.DigitCount;
    v.ExtLowerCase = form.ExtLowerCase;
    v.JpegToJpg = form.JpegToJpg;
    v.ChangeExt = form.ChangeExt;
    v.ViewerPath = form.ViewerPath;
    v.Left = form.SaveActualPosition ? windowLeft : form.BarLeft;
    v.Top = form.SaveActualPosition ? windowTop : form.BarTop;
    v.BaseNumber = form.BaseNumber;
    return v;
}

int MainDigitCount(int count)
{
    return std::clamp(count, 1, 9);
}

int TrackBarMaximum(int screenExtent, int margin)
{
    return std::max(0, screenExtent - margin);
}

int TrackBarPosition(int value, int maximum)
{
    return std::clamp(value, 0, std::max(0, maximum));
}
