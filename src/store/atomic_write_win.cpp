#include "access_list_win.h"
#include "atomic_write.h"
#include "atomic_write_os.h"

#include <QFile>
#include <QFileInfo>

#include <io.h>

namespace {

// ERROR_DIRECTORY_NOT_SUPPORTED, which MinGW's headers lack.
constexpr DWORD kDirectoryNotSupported = 336;

HANDLE NativeHandle(QFileDevice& file)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
}

QString Reason(DWORD error)
{
    return qt_error_string(static_cast<int>(error));
}

} // namespace

std::optional<QString> MakeOwnerOnly(QFileDevice& file)
{
    // Qt opens the file without the right to change its access list; a second handle with
    // only that right is allowed beside it whatever the first one shares.
    const HANDLE list = ReOpenFile(NativeHandle(file), WRITE_DAC | READ_CONTROL,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
    if (list == INVALID_HANDLE_VALUE)
        return Reason(GetLastError());
    const DWORD error = MakePrivate(list);
    CloseHandle(list);
    if (error != ERROR_SUCCESS)
        return Reason(error);
    return std::nullopt;
}

std::optional<QString> FlushToDisk(QFileDevice& file)
{
    if (FlushFileBuffers(NativeHandle(file)))
        return std::nullopt;
    // ERROR_INVALID_FUNCTION: this kind of file cannot be flushed.
    const DWORD error = GetLastError();
    if (error == ERROR_INVALID_FUNCTION)
        return std::nullopt;
    return Reason(error);
}

void SyncFolder(const QString&)
{
    // NTFS records a rename in its journal before the rename returns; an ordinary program
    // has nothing to flush for a folder.
}

std::optional<StoreError> ReadWholeFile(const QString& path, QByteArray& bytes, bool followLinks)
{
    using Cause = StoreError::Cause;
    auto error = [&path](Cause cause, const QString& reason = {}) {
        return StoreError{StoreError::Kind::Read, path, cause, reason};
    };
    const QFileInfo info(path);
    if (!followLinks && info.isSymbolicLink())
        return error(Cause::System, Reason(ERROR_CANT_ACCESS_FILE));
    if (info.isDir())
        return error(Cause::System, Reason(kDirectoryNotSupported));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return error(Cause::System, file.errorString());
    if (!info.isFile())
        return error(Cause::NotRegularFile);
    const qint64 size = file.size();
    if (size > kMaxDataFileSize)
        return error(Cause::TooLarge);

    // One byte more than the size, to notice a file that grew while it was read.
    bytes.resize(static_cast<qsizetype>(size) + 1);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.read(bytes.data() + done, bytes.size() - done);
        if (n < 0)
            return error(Cause::System, file.errorString());
        if (n == 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    if (done != size)
        return error(Cause::ReadIncomplete);
    return std::nullopt;
}
