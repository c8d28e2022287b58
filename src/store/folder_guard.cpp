#include "folder_guard.h"
#include "folder_guard_os.h"

#include <QFileInfo>

namespace {

StoreError SystemError(StoreError::Kind kind, const QString& path, const QString& reason)
{
    return StoreError{kind, path, StoreError::Cause::System, reason};
}

bool IsLink(const QString& path)
{
    return QFileInfo(path).isSymLink();
}

} // namespace

std::variant<FolderPin, StoreError> PinFolder(const QString& folder)
{
    const auto id = IdentifyFolder(folder);
    if (const auto* reason = std::get_if<QString>(&id))
        return SystemError(StoreError::Kind::Read, folder, *reason);
    const QString prefix = WithSlash(folder);
    const auto [device, inode] = std::get<FolderId>(id);
    return FolderPin{device, inode, IsLink(prefix + StoreFiles::Data),
                     IsLink(prefix + StoreFiles::Backup)};
}

std::optional<StoreError> CheckPinnedFolder(const QString& folder, const FolderPin& pin)
{
    const auto id = IdentifyFolder(folder);
    if (const auto* reason = std::get_if<QString>(&id))
        return SystemError(StoreError::Kind::Write, folder, *reason);
    const auto [device, inode] = std::get<FolderId>(id);
    if (device != pin.device || inode != pin.inode)
        return StoreError{StoreError::Kind::Write, folder, StoreError::Cause::FolderReplaced, {}};
    const QString prefix = WithSlash(folder);
    for (const auto& [name, wasLink] :
         {std::pair{&StoreFiles::Data, pin.dataLink}, {&StoreFiles::Backup, pin.backupLink}}) {
        if (!wasLink && IsLink(prefix + *name))
            return StoreError{
                StoreError::Kind::Write, prefix + *name, StoreError::Cause::LinkPutInPlace, {}};
    }
    return std::nullopt;
}
