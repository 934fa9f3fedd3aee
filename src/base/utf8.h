#pragma once
// Program texts (messages, typed texts) are UTF-8 in std::string; Qt shows QString. The one
// conversion each way. File names are bytes, not texts: they go through DisplayText instead.
#include <QByteArray>
#include <QString>

#include <string>

inline QString FromUtf8(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string ToUtf8(const QString& text)
{
    return text.toUtf8().toStdString();
}
