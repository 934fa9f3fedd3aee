#include "metadata/exiv2use.h"

#include <mutex>

namespace metadata {

void UseExiv2()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize();
        Exiv2::enableBMFF(true);
    });
}

std::string ExifText(const Exiv2::ExifData& data, const char* key)
{
    const auto it = data.findKey(Exiv2::ExifKey(key));
    if (it == data.end() || it->typeId() != Exiv2::asciiString)
        return {};
    std::string text = it->toString();
    return text.substr(0, text.find('\0'));
}

} // namespace metadata
