#include "preview/fileurl.h"

namespace preview {

QUrl FileUrlFromPath(const std::string& path)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray encoded("file://");
    encoded.reserve(static_cast<qsizetype>(7 + path.size() * 3));
    for (unsigned char c : path) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                           c == '~' || c == '/';
        if (plain) {
            encoded.append(static_cast<char>(c));
        } else {
            encoded.append('%');
            encoded.append(hex[c >> 4]);
            encoded.append(hex[c & 0x0F]);
        }
    }
    return QUrl::fromEncoded(encoded, QUrl::StrictMode);
}

} // namespace preview
