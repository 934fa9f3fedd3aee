#include "settings/extraoptions.h"

#include "platform/statefile.h"
#include "rename/clockoffset.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
const QString kCompanions = QStringLiteral("Companions");
const QString kCaptureName = QStringLiteral("CaptureName");
const QString kDayCounter = QStringLiteral("DayCounter");
const QString kClockOffset = QStringLiteral("ClockOffset");

QString PathOfFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/pelkorin/pelkorin.conf");
}

// Only the two words QSettings itself writes; anything else is no choice the user made.
bool Flag(const QSettings& file, const QString& key, bool fallback)
{
    const QString text = file.value(key).toString();
    if (text == QStringLiteral("true"))
        return true;
    if (text == QStringLiteral("false"))
        return false;
    return fallback;
}
} // namespace

std::string ExtraOptionsPath()
{
    return PathOfFile().toStdString();
}

ExtraOptions ReadExtraOptions()
{
    ExtraOptions options;
    const QString path = PathOfFile();
    // QSettings would block on a named pipe and takes a folder, or a file it may not read, for
    // an empty one; a file that does not parse says so in its status.
    if (platform::KindOfOwnFile(path.toStdString()) != platform::OwnFileKind::Regular ||
        !QFileInfo(path).isReadable())
        return options;
    const QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError)
        return options;
    options.Companions = Flag(file, kCompanions, options.Companions);
    options.CaptureName = Flag(file, kCaptureName, options.CaptureName);
    options.DayCounter = Flag(file, kDayCounter, options.DayCounter);
    // Kept as the user types it, so that the file reads as the menu asks.
    options.ClockOffset = ParseClockOffset(file.value(kClockOffset).toString().toStdString()).value_or(0);
    return options;
}

bool WriteExtraOptions(const ExtraOptions& options)
{
    const QString path = PathOfFile();
    // QSettings reads the file again before it writes, and writes onto whatever its links
    // end at: a pipe or a device there is refused with the error box instead.
    platform::CheckOwnFileWritable(path.toStdString());
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSettings file(path, QSettings::IniFormat);
    file.setValue(kCompanions, options.Companions);
    file.setValue(kCaptureName, options.CaptureName);
    file.setValue(kDayCounter, options.DayCounter);
    file.setValue(kClockOffset, QString::fromStdString(ClockOffsetText(options.ClockOffset)));
    file.sync();
    return file.status() == QSettings::NoError;
}
