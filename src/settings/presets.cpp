#include "settings/presets.h"

#include "base/errors.h"
#include "platform/statefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QString>

#include <algorithm>

namespace {
const QString kArray = QStringLiteral("presets");
const QString kFormat = QStringLiteral("Format");
constexpr int kFormatVersion = 1;
constexpr int kLongestName = 64;

// Texts that are valid UTF-8 are stored as text, so the file reads as typed; any other bytes
// (a clicked file name's text part) as bytes: both come back byte for byte.
QVariant TextValue(const std::string& bytes)
{
    const QByteArray raw = QByteArray::fromStdString(bytes);
    const QString text = QString::fromUtf8(raw);
    if (text.toUtf8() == raw)
        return text;
    return raw;
}

std::optional<std::string> TextOf(const QVariant& v)
{
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray().toStdString();
    if (v.typeId() == QMetaType::QString)
        return v.toString().toUtf8().toStdString();
    return std::nullopt;
}

std::optional<bool> FlagOf(const QVariant& v)
{
    const QString text = v.toString();
    if (text == QStringLiteral("true"))
        return true;
    if (text == QStringLiteral("false"))
        return false;
    return std::nullopt;
}

std::optional<long long> NumberOf(const QVariant& v)
{
    bool ok = false;
    const long long n = v.toString().toLongLong(&ok);
    return ok ? std::optional(n) : std::nullopt;
}

// One entry as this program writes it, or none.
std::optional<Preset> ReadEntry(const QSettings& file)
{
    Preset p;
    RenameInputValues& v = p.Values;
    const auto name = TextOf(file.value(QStringLiteral("Name")));
    const auto newText = TextOf(file.value(QStringLiteral("NewText")));
    const auto baseNumber = TextOf(file.value(QStringLiteral("BaseNumber")));
    const auto newExt = TextOf(file.value(QStringLiteral("NewExt")));
    const auto digits = NumberOf(file.value(QStringLiteral("DigitCount")));
    const auto offset = NumberOf(file.value(QStringLiteral("ClockOffset")));
    const std::optional<bool> flags[] = {
        FlagOf(file.value(QStringLiteral("ChangeText"))), FlagOf(file.value(QStringLiteral("PadDigits"))),
        FlagOf(file.value(QStringLiteral("Sequential"))), FlagOf(file.value(QStringLiteral("ChangeExt"))),
        FlagOf(file.value(QStringLiteral("Companions"))), FlagOf(file.value(QStringLiteral("CaptureName"))),
        FlagOf(file.value(QStringLiteral("DayCounter")))};
    if (!name || !PresetNameOf(*name) || *PresetNameOf(*name) != *name || !newText || !baseNumber || !newExt ||
        !digits || *digits < 1 || *digits > 9 || !offset ||
        std::any_of(std::begin(flags), std::end(flags), [](const auto& f) { return !f; }))
        return std::nullopt;
    p.Name = *name;
    v.NewText = *newText;
    v.BaseNumber = *baseNumber;
    v.NewExt = *newExt;
    v.DigitCount = static_cast<int>(*digits);
    v.ClockOffset = *offset;
    v.ChangeText = *flags[0];
    v.PadDigits = *flags[1];
    v.Sequential = *flags[2];
    v.ChangeExt = *flags[3];
    v.Companions = *flags[4];
    v.CaptureName = *flags[5];
    v.DayCounter = *flags[6];
    return p;
}

void WriteEntry(QSettings& file, const Preset& p)
{
    const RenameInputValues& v = p.Values;
    file.setValue(QStringLiteral("Name"), QString::fromStdString(p.Name));
    file.setValue(QStringLiteral("ChangeText"), v.ChangeText);
    file.setValue(QStringLiteral("NewText"), TextValue(v.NewText));
    file.setValue(QStringLiteral("PadDigits"), v.PadDigits);
    file.setValue(QStringLiteral("DigitCount"), v.DigitCount);
    file.setValue(QStringLiteral("Sequential"), v.Sequential);
    file.setValue(QStringLiteral("BaseNumber"), TextValue(v.BaseNumber));
    file.setValue(QStringLiteral("ChangeExt"), v.ChangeExt);
    file.setValue(QStringLiteral("NewExt"), TextValue(v.NewExt));
    file.setValue(QStringLiteral("Companions"), v.Companions);
    file.setValue(QStringLiteral("CaptureName"), v.CaptureName);
    file.setValue(QStringLiteral("DayCounter"), v.DayCounter);
    file.setValue(QStringLiteral("ClockOffset"), static_cast<qlonglong>(v.ClockOffset));
}

// A free name beside the damaged file for its copy.
QString KeptCopyPath(const QString& path)
{
    QString copy = path + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo::exists(copy); ++n)
        copy = path + QStringLiteral(".damaged-") + QString::number(n);
    return copy;
}
} // namespace

std::string PresetsPath()
{
    return (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/pelkorin/presets.conf"))
        .toStdString();
}

std::optional<std::string> PresetNameOf(const std::string& typed)
{
    const QString name = QString::fromUtf8(typed).trimmed();
    // Characters as the user sees them: a kanji outside the BMP counts once.
    if (name.isEmpty() || name.toUcs4().size() > kLongestName)
        return std::nullopt;
    return name.toUtf8().toStdString();
}

PresetsRead ReadPresetsFile(const std::string& pathBytes)
{
    PresetsRead read;
    const QString path = QString::fromStdString(pathBytes);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return read;
    read.Damaged = true;
    // QSettings would block on a named pipe and takes a folder, or a file it may not read, for
    // an empty one.
    if (platform::KindOfOwnFile(pathBytes) != platform::OwnFileKind::Regular || !info.isReadable())
        return read;
    QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError || file.value(kFormat).toInt() != kFormatVersion)
        return read;
    std::vector<Preset> presets;
    const int count = file.beginReadArray(kArray);
    for (int i = 0; i < count; ++i) {
        file.setArrayIndex(i);
        std::optional<Preset> p = ReadEntry(file);
        if (!p || std::any_of(presets.begin(), presets.end(), [&](const Preset& q) { return q.Name == p->Name; }))
            return read;
        presets.push_back(std::move(*p));
    }
    file.endArray();
    read.Presets = std::move(presets);
    read.Damaged = false;
    return read;
}

bool WritePresetsFile(const std::string& pathBytes, const std::vector<Preset>& presets, bool keepOld)
{
    const QString path = QString::fromStdString(pathBytes);
    // QSettings reads the file again before it writes, and writes onto whatever its links end
    // at: nothing but a regular file (or none) is written.
    if (platform::KindOfOwnFile(pathBytes) == platform::OwnFileKind::Other)
        return false;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    if (keepOld && QFileInfo(path).isFile() && !QFile::copy(path, KeptCopyPath(path)))
        return false;
    QSettings file(path, QSettings::IniFormat);
    // Whatever the file held is replaced by the list as it stands.
    file.clear();
    file.setValue(kFormat, kFormatVersion);
    file.beginWriteArray(kArray, static_cast<int>(presets.size()));
    for (std::size_t i = 0; i < presets.size(); ++i) {
        file.setArrayIndex(static_cast<int>(i));
        WriteEntry(file, presets[i]);
    }
    file.endArray();
    file.sync();
    return file.status() == QSettings::NoError;
}

void PresetList::Load()
{
    PresetsRead read = ReadPresetsFile(path_);
    presets_ = std::move(read.Presets);
    damaged_ = read.Damaged;
}

const Preset* PresetList::Find(const std::string& name) const
{
    const auto it = std::find_if(presets_.begin(), presets_.end(), [&](const Preset& p) { return p.Name == name; });
    return it == presets_.end() ? nullptr : &*it;
}

void PresetList::Save(const std::string& name, const RenameInputValues& values)
{
    const auto it = std::find_if(presets_.begin(), presets_.end(), [&](const Preset& p) { return p.Name == name; });
    if (it != presets_.end())
        it->Values = values;
    else
        presets_.push_back({name, values});
    Write();
}

void PresetList::Remove(const std::string& name)
{
    std::erase_if(presets_, [&](const Preset& p) { return p.Name == name; });
    Write();
}

void PresetList::Write()
{
    if (!WritePresetsFile(path_, presets_, damaged_))
        throw EFileError("ファイルを書き込めません: " + path_);
    damaged_ = false;
}
