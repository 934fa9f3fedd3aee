#include "rename/renameinputs.h"

RenameOptions OptionsOf(const RenameInputValues& in, bool extLowerCase, bool jpegToJpg)
{
    RenameOptions o;
    o.ChangeText = in.ChangeText;
    o.NewText = in.NewText;
    o.PadDigits = in.PadDigits;
    o.DigitCount = in.DigitCount;
    o.Sequential = in.Sequential;
    o.ExtLowerCase = extLowerCase;
    o.JpegToJpg = jpegToJpg;
    o.ChangeExt = in.ChangeExt;
    o.NewExt = in.NewExt;
    return o;
}

void RenameInputs::Set(const RenameInputValues& values)
{
    if (values == values_)
        return;
    values_ = values;
    emit changed();
}
