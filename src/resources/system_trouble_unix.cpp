#include "system_trouble.h"

#include <QFileInfo>
#include <cerrno>
#include <initializer_list>

SystemTrouble TroubleOf(const StoreError& error)
{
    const QFileInfo file(error.path);
    // Qt refuses to replace a file its owner may not write with words of its own.
    if (error.kind == StoreError::Kind::Write && file.exists() && !file.isWritable())
        return SystemTrouble::ReadOnly;
    const QString& reason = error.systemReason;
    if (ReasonIsOneOf(reason, std::initializer_list<int>{EACCES, EPERM, EROFS}))
        return SystemTrouble::AccessDenied;
    if (ReasonIsOneOf(reason, std::initializer_list<int>{ENOSPC, EDQUOT}))
        return SystemTrouble::DiskFull;
    if (ReasonIsOneOf(reason, std::initializer_list<int>{ENAMETOOLONG}))
        return SystemTrouble::PathTooLong;
    if (ReasonIsOneOf(reason, std::initializer_list<int>{ETXTBSY, EBUSY}))
        return SystemTrouble::InUse;
    return SystemTrouble::Other;
}
