#include "base/casefold.h"

#include "base/ascii.h"

#include <QString>
#include <QStringDecoder>

#include <algorithm>

std::string FoldedCase(std::string_view name)
{
    const bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii)
        return AsciiLower(std::string(name));
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decode(QByteArrayView(name.data(), static_cast<qsizetype>(name.size())));
    if (decode.hasError())
        return AsciiLower(std::string(name));
    for (QChar& c : text)
        if (!c.isSurrogate())
            c = QChar(static_cast<char16_t>(QChar::toCaseFolded(c.unicode())));
    return text.toStdString();
}
