#include "start_messages.h"

#include "encryption_texts.h"
#include "store/data_folder.h"
#include "store/store_files.h"
#include "store_messages.h"
#include "texts.h"

QString RefusalText(const FolderCheck& check)
{
    using Problem = FolderCheck::Problem;
    const QString path = ShownPath(check.path);
    switch (check.problem) {
    case Problem::None:
        break;
    case Problem::CannotExamine:
        return Texts::FolderNotExamined.arg(path, qt_error_string(check.systemError));
    case Problem::FolderOfAnotherUser:
        return Texts::FolderOfAnotherUser.arg(path);
    case Problem::FolderWritableByOthers:
        return Texts::FolderWritableByOthers.arg(path);
    case Problem::UnsafeFolderAbove:
        return Texts::UnsafeFolderAbove.arg(path);
    case Problem::FileOfAnotherUser:
        return Texts::FileOfAnotherUser.arg(path);
    case Problem::LinkToAnotherUsersFile:
        return Texts::LinkToAnotherUsersFile.arg(path, ShownPath(check.target));
    case Problem::LinkLeadsNowhere:
        return Texts::LinkLeadsNowhere.arg(path, ShownPath(check.target));
    case Problem::HardLinked:
        return Texts::HardLinked.arg(path);
    case Problem::LockNotRegular:
        return Texts::LockNotRegular.arg(path);
    case Problem::ProgramOpenToOthers:
        return Texts::ProgramOpenToOthers.arg(path);
    case Problem::NameNotShown:
        return Texts::NameNotShown.arg(path);
    }
    return {};
}

QString StartQuestionText(const DataSession::Asking& asking, const QString& programDirectory)
{
    const QString dir = AppDir(programDirectory);
    // The file that did not open names the set: the plain one or the encrypted one.
    const bool sealed = asking.unreadable && asking.unreadable->path == dir + StoreFiles::Encrypted;
    const QString data =
        ShownPath(sealed ? dir + StoreFiles::Encrypted : DataPath(programDirectory));
    const QString backup =
        ShownPath(sealed ? dir + StoreFiles::EncryptedBackup : BackupPath(programDirectory));
    switch (asking.question) {
    case DataSession::Question::RestoreBackup:
        break;
    case DataSession::Question::OpenBackup:
        return Texts::OpenBackupQuestion.arg(data, StoreErrorReason(*asking.unreadable), backup);
    case DataSession::Question::ConvertFromUtf8:
        return Texts::ConvertFromUtf8Question.arg(data);
    case DataSession::Question::Password:
        // Asked again: why the last password did not open the file.
        if (!asking.unreadable)
            return {};
        return Texts::PasswordRefused.arg(ShownPath(asking.unreadable->path),
                                          StoreErrorReason(*asking.unreadable));
    case DataSession::Question::PlainBeside:
        return Texts::PlainBesideQuestion.arg(ShownPath(DataPath(programDirectory)),
                                              ShownPath(dir + StoreFiles::Encrypted));
    }
    return Texts::RestoreQuestion.arg(data, backup);
}
