#pragma once
// file URLs for handing documents to the desktop (QDesktopServices::openUrl).
#include <QUrl>

#include <string>

namespace preview {

// A file URL for an absolute path of raw bytes. Every byte other than an unreserved ASCII
// character or "/" is percent-encoded, so a name that is not UTF-8 keeps its bytes:
// QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()) gives the path back.
QUrl FileUrlFromPath(const std::string& path);

} // namespace preview
