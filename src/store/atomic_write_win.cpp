#include "access_list_win.h"
#include "atomic_write.h"
#include "atomic_write_os.h"
#include "private_descriptor_win.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// ERROR_DIRECTORY_NOT_SUPPORTED, which MinGW's headers lack.
constexpr DWORD kDirectoryNotSupported = 336;

QString Reason(DWORD error)
{
    return qt_error_string(static_cast<int>(error));
}

OsFailure Failure(DWORD error)
{
    using Kind = OsFailure::Kind;
    Kind kind = Kind::Other;
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
        kind = Kind::NameTaken;
    else if (error == ERROR_FILE_NOT_FOUND)
        kind = Kind::Missing;
    else if (error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED)
        kind = Kind::Unsupported;
    return OsFailure{kind, Reason(error)};
}

// Writes the whole of `bytes`, then puts them on the disk; 0 or the system's error.
DWORD FillAndFlush(HANDLE file, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        DWORD n = 0;
        if (!WriteFile(file, bytes.constData() + done, DWORD(bytes.size() - done), &n, nullptr))
            return GetLastError();
        done += n;
    }
    // ERROR_INVALID_FUNCTION: this kind of file cannot be flushed.
    if (!FlushFileBuffers(file) && GetLastError() != ERROR_INVALID_FUNCTION)
        return GetLastError();
    return ERROR_SUCCESS;
}

} // namespace

SaveFolder::SaveFolder(const QString& path) : path_(path)
{
    if (!QFileInfo(path).isDir())
        openError_ = Reason(ERROR_PATH_NOT_FOUND);
}

SaveFolder::~SaveFolder() = default;

namespace {

std::wstring Native(const QString& folder, const QString& name)
{
    return QDir::toNativeSeparators(folder + u'/' + name).toStdWString();
}

} // namespace

OsResult SaveFolder::Create(const QString& name, const QByteArray& bytes)
{
    PrivateDescriptor privateList;
    if (!privateList.Attributes())
        return Failure(privateList.Error());
    // CREATE_NEW refuses any existing name, a link's included; the list is the file's from
    // its creation, never the folder's inherited one.
    const std::wstring path = Native(path_, name);
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, privateList.Attributes(),
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Failure(GetLastError());
    DWORD error = FillAndFlush(file, bytes);
    if (!CloseHandle(file) && error == ERROR_SUCCESS)
        error = GetLastError();
    if (error == ERROR_SUCCESS)
        return std::nullopt;
    DeleteFileW(path.c_str());
    return Failure(error);
}

OsResult SaveFolder::Replace(const QString& from, const QString& to)
{
    if (!MoveFileExW(Native(path_, from).c_str(), Native(path_, to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Failure(GetLastError());
    return std::nullopt;
}

OsResult SaveFolder::Exchange(const QString& from, const QString& to, QString& displaced)
{
    const QString backup = TemporaryName(to);
    if (ReplaceFileW(Native(path_, to).c_str(), Native(path_, from).c_str(),
                     Native(path_, backup).c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr)) {
        displaced = backup;
        return std::nullopt;
    }
    const DWORD error = GetLastError();
    // The file stood renamed to the backup's name and the new one did not take its place:
    // it goes back, and the call fails as one that changed nothing.
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        MoveFileExW(Native(path_, backup).c_str(), Native(path_, to).c_str(), 0);
    return Failure(error);
}

OsResult SaveFolder::RenameToNew(const QString& from, const QString& to)
{
    if (!MoveFileExW(Native(path_, from).c_str(), Native(path_, to).c_str(),
                     MOVEFILE_WRITE_THROUGH))
        return Failure(GetLastError());
    return std::nullopt;
}

bool SaveFolder::Remove(const QString& name)
{
    return DeleteFileW(Native(path_, name).c_str());
}

void SaveFolder::Tighten(const QString& name)
{
    MakePrivate(path_ + u'/' + name);
}

void SaveFolder::Sync()
{
    // NTFS records a rename in its journal before the rename returns; an ordinary program
    // has nothing to flush for a folder.
}

std::optional<StoreError> ReadWholeFile(const QString& path, QByteArray& bytes, bool followLinks,
                                        qint64 maxSize)
{
    using Cause = StoreError::Cause;
    const QFileInfo info(path);
    if (!followLinks && info.isSymbolicLink())
        return ReadFailure(path, Cause::System, Reason(ERROR_CANT_ACCESS_FILE));
    if (info.isDir())
        return ReadFailure(path, Cause::System, Reason(kDirectoryNotSupported));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return ReadFailure(path, Cause::System, file.errorString());
    if (!info.isFile())
        return ReadFailure(path, Cause::NotRegularFile);
    const auto readSome = [&file](char* into, qint64 most, QString& reason) {
        const qint64 n = file.read(into, most);
        if (n < 0)
            reason = file.errorString();
        return n;
    };
    return ReadSized(path, file.size(), maxSize, readSome, bytes);
}
