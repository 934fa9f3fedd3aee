#pragma once
// Names are raw bytes; the screen needs text. Valid UTF-8 shows as it is, anything else is
// shown through a Shift-JIS decode (the code page of names from old Windows folders).
#include <QString>
#include <string>

QString DisplayText(const std::string& bytes);
