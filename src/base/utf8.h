#pragma once
// Program texts (messages, typed texts) are UTF-8 in std::string; Qt shows QString. The one
// conversion each way. File names are bytes, not texts: they go through DisplayText instead.
#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

inline QString FromUtf8(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string ToUtf8(const QString& text)
{
    return text.toUtf8().toStdString();
}

// The length of a name in UTF-16 code units, as FAT's long names and exFAT count it: a
// character outside the Basic Multilingual Plane counts two, a byte that is not part of
// UTF-8 one.
inline std::size_t Utf16Length(std::string_view name)
{
    return static_cast<std::size_t>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).size());
}
