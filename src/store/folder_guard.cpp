#include "folder_guard.h"
#include "folder_guard_os.h"

#include <QFileInfo>
#include <vector>

namespace {

StoreError SystemError(StoreError::Kind kind, const QString& path, const QString& reason)
{
    return StoreError{kind, path, StoreError::Cause::System, reason};
}

bool IsLink(const QString& path)
{
    return QFileInfo(path).isSymLink();
}

// The rules for one of the program's own files, once examined: the lock must be an ordinary
// file (opening a pipe blocks until someone writes to it, for ever); the data file and the
// backup must have one name (a save replaces the file by a new one: another name would
// keep the old passwords for good), and so must the settings file, which is replaced the
// same way.
FolderCheck CheckOwnFile(const QString* name, const QString& path, bool regular, quint64 names)
{
    if (name == &StoreFiles::Lock)
        return regular ? FolderCheck{} : Found(FolderCheck::Problem::LockNotRegular, path);
    if (regular && names > 1)
        return Found(FolderCheck::Problem::HardLinked, path);
    return {};
}

} // namespace

FolderCheck CheckOwnFiles(const QString& folder,
                          const std::function<OwnFileFacts(const QString& path)>& examine)
{
    const QString prefix = AppDir(folder);
    for (const QString* name : kOwnFiles) {
        const QString path = prefix + *name;
        const OwnFileFacts facts = examine(path);
        if (facts.missing)
            continue;
        if (facts.systemError != 0)
            return Found(FolderCheck::Problem::CannotExamine, path, facts.systemError);
        if (facts.refused.Refused())
            return facts.refused;
        if (FolderCheck own = CheckOwnFile(name, path, facts.regular, facts.names); own.Refused())
            return own;
    }
    return {};
}

std::variant<FolderPin, StoreError> PinFolder(const QString& folder)
{
    const auto id = IdentifyFolder(folder);
    if (const auto* reason = std::get_if<QString>(&id))
        return SystemError(StoreError::Kind::Read, folder, *reason);
    const QString prefix = AppDir(folder);
    return FolderPin{std::get<FolderId>(id),
                     IsLink(prefix + StoreFiles::Data),
                     IsLink(prefix + StoreFiles::Backup),
                     IsLink(prefix + StoreFiles::Settings),
                     IsLink(prefix + StoreFiles::Encrypted),
                     IsLink(prefix + StoreFiles::EncryptedBackup)};
}

std::optional<StoreError> CheckPinnedFolder(const QString& folder, const FolderPin& pin,
                                            SavedFiles saved)
{
    const auto id = IdentifyFolder(folder);
    if (const auto* reason = std::get_if<QString>(&id))
        return SystemError(StoreError::Kind::Write, folder, *reason);
    if (std::get<FolderId>(id) != pin.folder)
        return StoreError{StoreError::Kind::Write, folder, StoreError::Cause::FolderReplaced, {}};
    const QString prefix = AppDir(folder);
    std::vector<std::pair<const QString*, bool>> written;
    if (saved == SavedFiles::Settings)
        written = {{&StoreFiles::Settings, pin.settingsLink}};
    else if (saved == SavedFiles::Encrypted)
        written = {{&StoreFiles::Encrypted, pin.encryptedLink},
                   {&StoreFiles::EncryptedBackup, pin.encryptedBackupLink}};
    else
        written = {{&StoreFiles::Data, pin.dataLink}, {&StoreFiles::Backup, pin.backupLink}};
    for (const auto& [name, wasLink] : written) {
        if (!wasLink && IsLink(prefix + *name))
            return StoreError{
                StoreError::Kind::Write, prefix + *name, StoreError::Cause::LinkPutInPlace, {}};
    }
    return std::nullopt;
}
