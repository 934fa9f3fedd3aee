#include "ui/displaytext.h"

#include <QStringDecoder>

QString DisplayText(const std::string& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError())
        return text;
    QStringDecoder sjis("Shift_JIS");
    if (sjis.isValid()) {
        QString alt = sjis.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
        if (!sjis.hasError())
            return alt;
    }
    return text; // replacement characters mark the bytes that no decoding explains
}
