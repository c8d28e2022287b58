#include "settings_file.h"

#include "atomic_write.h"
#include "ini_text.h"
#include "store_files.h"

#include <QFileInfo>
#include <variant>

namespace {

const QString kClipboard = QStringLiteral("Clipboard");
const QString kClearAfterSeconds = QStringLiteral("ClearAfterSeconds");
const QString kWindow = QStringLiteral("Window");
const QString kAllowScreenCapture = QStringLiteral("AllowScreenCapture");
const QString kSecurity = QStringLiteral("Security");
const QString kLockAfterMinutes = QStringLiteral("LockAfterMinutes");

StoreError NotSettings(const QString& path)
{
    return StoreError{StoreError::Kind::Read, path, StoreError::Cause::NotSettings, {}};
}

// The file's text; an empty one when there is no file. A file that cannot be read, or is
// no settings file, is an error.
std::variant<IniText, StoreError> ReadText(const QString& path, bool followLinks)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return *IniText::FromBytes({});
    if (info.size() > SettingsFile::kMaxSize)
        return NotSettings(path);
    QByteArray bytes;
    if (auto error = ReadWholeFile(path, bytes, followLinks))
        return *error;
    auto text = IniText::FromBytes(bytes);
    if (!text || bytes.size() > SettingsFile::kMaxSize)
        return NotSettings(path);
    return std::move(*text);
}

std::optional<int> ReadNumber(const std::optional<QString>& value, int most)
{
    bool ok = false;
    const int number = value ? value->toInt(&ok) : 0;
    if (!ok || number < 0 || number > most)
        return std::nullopt;
    return number;
}

std::optional<bool> ReadFlag(const std::optional<QString>& value)
{
    if (value && value->compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (value && value->compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

Settings FromText(const IniText& text)
{
    const Settings defaults;
    Settings settings;
    settings.clearAfterSeconds =
        ReadNumber(text.Value(kClipboard, kClearAfterSeconds), SettingsFile::kMaxClearAfterSeconds)
            .value_or(defaults.clearAfterSeconds);
    settings.lockAfterMinutes =
        ReadNumber(text.Value(kSecurity, kLockAfterMinutes), SettingsFile::kMaxLockAfterMinutes)
            .value_or(defaults.lockAfterMinutes);
    settings.allowScreenCapture =
        ReadFlag(text.Value(kWindow, kAllowScreenCapture)).value_or(defaults.allowScreenCapture);
    return settings;
}

} // namespace

namespace SettingsFile {

QString Path(const QString& programDirectory)
{
    return AppDir(programDirectory) + StoreFiles::Settings;
}

Settings Read(const QString& programDirectory)
{
    const auto text = ReadText(Path(programDirectory), true);
    if (const auto* read = std::get_if<IniText>(&text))
        return FromText(*read);
    return {};
}

std::optional<StoreError> Write(const QString& programDirectory, const FolderPin& pin,
                                const Settings& settings)
{
    const QString path = Path(programDirectory);
    if (auto error = CheckPinnedFolder(programDirectory, pin, SavedFiles::Settings))
        return error;
    // A link put there since the start is refused, not read through.
    auto read = ReadText(path, pin.settingsLink);
    if (auto* error = std::get_if<StoreError>(&read))
        return std::move(*error);
    IniText& text = std::get<IniText>(read);
    const Settings now = FromText(text);
    if (settings == now)
        return std::nullopt;
    if (settings.clearAfterSeconds != now.clearAfterSeconds)
        text.SetValue(kClipboard, kClearAfterSeconds, QString::number(settings.clearAfterSeconds));
    if (settings.allowScreenCapture != now.allowScreenCapture)
        text.SetValue(kWindow, kAllowScreenCapture,
                      settings.allowScreenCapture ? QStringLiteral("true")
                                                  : QStringLiteral("false"));
    if (settings.lockAfterMinutes != now.lockAfterMinutes)
        text.SetValue(kSecurity, kLockAfterMinutes, QString::number(settings.lockAfterMinutes));
    return AtomicWriteAll({{path, text.ToBytes()}}, [&] {
        return CheckPinnedFolder(programDirectory, pin, SavedFiles::Settings);
    });
}

} // namespace SettingsFile
