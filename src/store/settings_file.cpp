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

std::optional<int> ReadSeconds(const std::optional<QString>& value)
{
    bool ok = false;
    const int seconds = value ? value->toInt(&ok) : 0;
    if (!ok || seconds < 0 || seconds > SettingsFile::kMaxClearAfterSeconds)
        return std::nullopt;
    return seconds;
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
    settings.clearAfterSeconds = ReadSeconds(text.Value(kClipboard, kClearAfterSeconds))
                                     .value_or(defaults.clearAfterSeconds);
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
    if (settings.clearAfterSeconds == now.clearAfterSeconds &&
        settings.allowScreenCapture == now.allowScreenCapture)
        return std::nullopt;
    if (settings.clearAfterSeconds != now.clearAfterSeconds)
        text.SetValue(kClipboard, kClearAfterSeconds, QString::number(settings.clearAfterSeconds));
    if (settings.allowScreenCapture != now.allowScreenCapture)
        text.SetValue(kWindow, kAllowScreenCapture,
                      settings.allowScreenCapture ? QStringLiteral("true")
                                                  : QStringLiteral("false"));
    return AtomicWriteAll({{path, text.ToBytes()}}, [&] {
        return CheckPinnedFolder(programDirectory, pin, SavedFiles::Settings);
    });
}

} // namespace SettingsFile
