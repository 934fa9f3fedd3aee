#include "settings/programsettings.h"

#include "base/errors.h"
#include "settings/settingslocation.h"

#include <cerrno>

ProgramSettings::ProgramSettings(std::string programFolder, QObject* parent)
    : QObject(parent), programFolder_(std::move(programFolder)), startup_(DecodeSettings(SettingsRead{}))
{
}

bool ProgramSettings::Load()
{
    const auto read = ReadSettingsFile(SettingsFolderToRead(programFolder_));
    if (!read)
        return false;
    lines_ = read->Lines;
    startup_ = DecodeSettings(*read);
    if (startup_.Marker == SettingsMarker::None)
        return false;
    startFolder_ = startup_.StartFolder;
    extLowerCase_ = startup_.ExtLowerCase;
    jpegToJpg_ = startup_.JpegToJpg;
    viewerPath_ = startup_.ViewerPath;
    return true;
}

void ProgramSettings::SetExtensionFlags(bool lowerCase, bool jpegToJpg)
{
    const bool changed = lowerCase != extLowerCase_ || jpegToJpg != jpegToJpg_;
    extLowerCase_ = lowerCase;
    jpegToJpg_ = jpegToJpg;
    if (changed)
        emit namingChanged();
}

const ExtraOptions& ProgramSettings::LoadExtraOptions()
{
    extra_ = ReadExtraOptions();
    return extra_;
}

void ProgramSettings::StoreExtraOptions(const ExtraOptions& next)
{
    if (next == extra_)
        return;
    extra_ = next;
    if (!WriteExtraOptions(extra_))
        throw EFileError(FileErrorMessage("ファイルを書き込めません", ExtraOptionsPath(), EIO));
}
