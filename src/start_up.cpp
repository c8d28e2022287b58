#include "start_up.h"

#include "platform/desktop.h"
#include "platform/password_dialog.h"
#include "platform/under_wine.h"
#include "resources/encryption_texts.h"
#include "resources/start_messages.h"
#include "resources/store_messages.h"
#include "resources/texts.h"
#include "store/data_folder.h"
#include "store/folder_guard.h"
#include "store/settings_file.h"

namespace {

using Answer = MessageRequest::Answer;

// Boxes shown before the window exists have no parent: a box over the window would have
// its native window made before the stored position is applied, which the window manager
// then takes as the position of its client area.
constexpr QWidget* kNoWindowYet = nullptr;

// A lock of another computer is taken over only if the user says so; a copy that runs
// over the same folder is reported.
bool TakeLock(Desktop& desktop, InstanceLock& lock, const QString& dataPath)
{
    auto outcome = lock.Acquire();
    if (outcome == InstanceLock::Outcome::OtherHost) {
        const QString question =
            Texts::LockOfOtherHost.arg(lock.OtherHost(), ShownPath(lock.Path()));
        if (desktop.Ask(kNoWindowYet, question, Answer::No) != Answer::Yes)
            return false;
        outcome = lock.Acquire(true);
    }
    if (outcome == InstanceLock::Outcome::Held)
        return true;
    if (outcome == InstanceLock::Outcome::Failed) {
        desktop.Tell(kNoWindowYet, Texts::LockNotWritten.arg(ShownPath(lock.Path()), lock.Reason()),
                     QMessageBox::Critical);
        return false;
    }
    desktop.Tell(kNoWindowYet,
                 Texts::AlreadyRunning.arg(ShownPath(dataPath), ShownPath(lock.Path())),
                 QMessageBox::Information);
    return false;
}

// The encrypted data file's password; after one that did not open it, the reason first.
// False after キャンセル: the start ends, having written nothing.
bool AskPassword(Desktop& desktop, const DataSession::Asking& asking, const QString& directory,
                 DataSession::Answers& answers)
{
    if (asking.unreadable)
        desktop.Tell(kNoWindowYet, StartQuestionText(asking, directory), QMessageBox::Warning);
    PasswordDialog dialog(kNoWindowYet, PasswordDialog::Purpose::Unlock);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    answers.password = dialog.TakePassword();
    return true;
}

// Takes the user's answer to what the session asks into `answers`; false when the start
// ends there.
bool AnswerStartQuestion(Desktop& desktop, const DataSession::Asking& asking,
                         const QString& directory, DataSession::Answers& answers)
{
    using Question = DataSession::Question;
    if (asking.question == Question::Password)
        return AskPassword(desktop, asking, directory, answers);
    const QString text = StartQuestionText(asking, directory);
    // Either answer goes on: the plain file is read in, or left where it is.
    if (asking.question == Question::PlainBeside) {
        answers.importPlain =
            desktop.Ask(kNoWindowYet, text, Answer::No, Texts::PlainBesideTitle) == Answer::Yes;
        return true;
    }
    if (desktop.Ask(kNoWindowYet, text, Answer::Yes) != Answer::Yes)
        return false;
    switch (asking.question) {
    case Question::RestoreBackup:
        answers.restoreBackup = true;
        break;
    case Question::OpenBackup:
        answers.openBackup = true;
        break;
    case Question::ConvertFromUtf8:
        answers.convertFromUtf8 = true;
        break;
    case Question::Password:
    case Question::PlainBeside:
        break;
    }
    return true;
}

} // namespace

std::unique_ptr<Program> StartProgram(Desktop& desktop, const QString& programDirectory)
{
    return StartProgram(desktop, programDirectory, CheckDataFolder(programDirectory));
}

std::unique_ptr<Program> StartProgram(Desktop& desktop, const QString& programDirectory,
                                      const FolderCheck& check)
{
    desktop.SetAppTitle(Texts::AppTitle);
    auto program = std::make_unique<Program>();

    // Before anything is written: a folder others may write, or files of theirs, would
    // hand them the passwords.
    if (!AcceptFolder(desktop, programDirectory, check))
        return nullptr;

    const QString dir = AppDir(programDirectory);
    InstanceLock& lock = program->lock.emplace(dir + StoreFiles::Lock);
    if (!TakeLock(desktop, lock, dir + StoreFiles::Data))
        return nullptr;
    if (!TightenFileModesAndTell(desktop, programDirectory))
        return nullptr;
    // Only now: the temporaries of a save still running in another copy are not leftovers.
    RemoveLeftovers(programDirectory);

    // Only after the checks: a settings file of someone else's is never read.
    const Settings settings = SettingsFile::Read(programDirectory);
    program->session = OpenSession(desktop, programDirectory);
    if (!program->session)
        return nullptr;
    program->window = std::make_unique<Fm_Cofferly>(*program->session, desktop);
    program->window->ApplySettings(settings);
    return program;
}

bool RefuseUnsafeFolder(Desktop& desktop, const QString& folder)
{
    const FolderCheck check = CheckDataFolder(folder);
    if (check.Refused())
        desktop.Tell(kNoWindowYet, RefusalText(check), QMessageBox::Critical);
    return check.Refused();
}

bool AcceptFolder(Desktop& desktop, const QString& folder, FolderCheck check)
{
    if (check.mendable) {
        const QString question = Texts::MendFolderQuestion.arg(check.path);
        if (desktop.Ask(kNoWindowYet, question, Answer::No) != Answer::Yes)
            return false;
        if (const auto error = MakeFolderPrivate(check.path)) {
            desktop.Tell(kNoWindowYet,
                         Texts::FolderNotMadePrivate.arg(error->path, error->systemReason),
                         QMessageBox::Critical);
            return false;
        }
        // Whatever else changed meanwhile is found again.
        check = CheckDataFolder(folder);
    }
    if (check.Refused()) {
        desktop.Tell(kNoWindowYet, RefusalText(check), QMessageBox::Critical);
        return false;
    }
    if (check.withoutAccessControl)
        desktop.Tell(kNoWindowYet, Texts::DriveWithoutAccessControl.arg(folder),
                     QMessageBox::Warning);
    return true;
}

bool TightenFileModesAndTell(Desktop& desktop, const QString& folder)
{
    const auto tightened = TightenFileModes(folder);
    if (const auto* error = std::get_if<StoreError>(&tightened)) {
        desktop.Tell(kNoWindowYet, EndingFailureMessage(*error), QMessageBox::Critical);
        return false;
    }
    const QStringList& paths = std::get<QStringList>(tightened);
    // Wine loses the list each save sets on the new file, so every start after a save would
    // say this; on Windows it means someone else opened the files up.
    if (!paths.isEmpty() && !UnderWine())
        desktop.Tell(kNoWindowYet, Texts::ModesTightened.arg(ShownPath(paths.join(u'\n'))),
                     QMessageBox::Information);
    return true;
}

std::optional<DataSession> OpenSession(Desktop& desktop, const QString& programDirectory)
{
    DataSession::Answers answers;
    for (;;) {
        auto opened = DataSession::Open(programDirectory, Fm_Cofferly::FirstPosition(),
                                        Texts::NewGroupTitle, answers);
        if (auto* session = std::get_if<DataSession>(&opened)) {
            answers.password.fill(u'\0');
            return std::move(*session);
        }
        if (const auto* error = std::get_if<StoreError>(&opened)) {
            desktop.Tell(kNoWindowYet, EndingFailureMessage(*error), QMessageBox::Critical);
            return std::nullopt;
        }
        const auto& asking = std::get<DataSession::Asking>(opened);
        if (!AnswerStartQuestion(desktop, asking, programDirectory, answers))
            return std::nullopt;
    }
}
