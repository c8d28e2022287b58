// The menu's encryption commands: the state decides when each may be chosen and asks its
// question; the password dialogs and the session do the rest here.
#include "fm_cofferly.h"
#include "platform/password_dialog.h"
#include "resources/encryption_texts.h"
#include "resources/store_messages.h"
#include "resources/texts.h"

namespace {

using Answer = MessageRequest::Answer;

// Shorter passwords are warned about, not refused.
constexpr qsizetype kAdvisedLength = 10;

// What was typed leaves memory as soon as the session has its key.
void Forget(QString& password)
{
    password.fill(u'\0');
    password.clear();
}

} // namespace

void Fm_Cofferly::menu_Encrypt_Click()
{
    Carry(state_.CommandChosen(WindowCommand::Encrypt));
}

void Fm_Cofferly::menu_ChangePassword_Click()
{
    Carry(state_.CommandChosen(WindowCommand::ChangePassword));
}

void Fm_Cofferly::menu_Decrypt_Click()
{
    Carry(state_.CommandChosen(WindowCommand::Decrypt));
}

void Fm_Cofferly::menu_ExportLegacy_Click()
{
    Carry(state_.CommandChosen(WindowCommand::ExportLegacy));
}

void Fm_Cofferly::menu_ImportLegacy_Click()
{
    Carry(state_.CommandChosen(WindowCommand::ImportLegacy));
}

// The password twice; asked again after a mismatch, an empty one, or a short one the user
// would rather not keep. Nothing after キャンセル.
std::optional<QString> Fm_Cofferly::ChooseNewPassword(bool change)
{
    for (;;) {
        PasswordDialog dialog(this, PasswordDialog::Purpose::NewPassword);
        if (change)
            dialog.setWindowTitle(Texts::ChangePasswordCaption);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        QString password = dialog.TakePassword();
        QString repeated = dialog.TakeRepeated();
        const bool same = password == repeated;
        Forget(repeated);
        const qsizetype length = password.toUcs4().size();
        if (password.isEmpty()) {
            desktop_.Tell(this, Texts::PasswordEmpty, QMessageBox::Warning);
        } else if (!same) {
            desktop_.Tell(this, Texts::PasswordsDiffer, QMessageBox::Warning);
        } else if (length >= kAdvisedLength ||
                   desktop_.Ask(this, Texts::ShortPasswordQuestion.arg(length).arg(kAdvisedLength),
                                Answer::No, Texts::ShortPasswordTitle,
                                QMessageBox::Warning) == Answer::Yes) {
            return password;
        }
        Forget(password);
    }
}

void Fm_Cofferly::SetNewPassword(bool change)
{
    auto password = ChooseNewPassword(change);
    if (!password)
        return;
    if (change) {
        const auto error = session_.ChangePassword(*password);
        Forget(*password);
        if (error)
            return desktop_.Tell(
                this, Texts::ChangeFailed.arg(ShownPath(error->path), StoreErrorReason(*error)),
                QMessageBox::Critical);
        return desktop_.Tell(this, Texts::PasswordChanged, QMessageBox::Information);
    }
    const auto turned = session_.TurnOnEncryption(*password);
    Forget(*password);
    if (const auto* error = std::get_if<StoreError>(&turned))
        return desktop_.Tell(
            this, Texts::EncryptFailed.arg(ShownPath(error->path), StoreErrorReason(*error)),
            QMessageBox::Critical);
    EncryptionChanged();
    desktop_.Tell(this, Texts::EncryptionOn.arg(ShownPath(session_.DataPath())),
                  QMessageBox::Information);
    OfferToRemoveKeptCopies(std::get<QStringList>(turned));
}

// Versions kept from before hold the passwords in plain text.
void Fm_Cofferly::OfferToRemoveKeptCopies(const QStringList& names)
{
    if (names.isEmpty())
        return;
    if (desktop_.Ask(this, Texts::KeptCopiesQuestion.arg(names.join(u'\n')), Answer::No,
                     Texts::KeptCopiesTitle, QMessageBox::Question) != Answer::Yes)
        return;
    if (const auto error = session_.RemoveKeptCopies(names))
        desktop_.Tell(
            this, Texts::KeptCopiesNotRemoved.arg(ShownPath(error->path), StoreErrorReason(*error)),
            QMessageBox::Warning);
}

void Fm_Cofferly::TurnOffEncryption()
{
    if (const auto error = session_.TurnOffEncryption())
        return desktop_.Tell(
            this, Texts::DecryptFailed.arg(ShownPath(error->path), StoreErrorReason(*error)),
            QMessageBox::Critical);
    EncryptionChanged();
    desktop_.Tell(this, Texts::Decrypted.arg(ShownPath(session_.DataPath())),
                  QMessageBox::Information);
}

// The menu offers what fits the files now, and the idle lock waits only over encrypted ones.
void Fm_Cofferly::EncryptionChanged()
{
    state_.SetEncrypted(session_.Encrypted());
    ApplyState();
    WatchForIdle();
}

void Fm_Cofferly::ExportLegacyFile()
{
    const FileChoice choice =
        desktop_.ChooseFile(this, Texts::LegacyExportDialogTitle, {Texts::LegacyFilter}, true);
    if (choice.path.isEmpty())
        return;
    if (IsOwnFile(choice.path))
        return desktop_.Tell(this, Texts::ExportOverOwnFile.arg(ShownPath(choice.path)),
                             QMessageBox::Warning);
    if (const auto error = session_.ExportLegacy(choice.path))
        return desktop_.Tell(
            this, Texts::ExportFailed.arg(ShownPath(choice.path), StoreErrorReason(*error)),
            QMessageBox::Critical);
    desktop_.Tell(this, Texts::LegacyExported.arg(ShownPath(choice.path)),
                  QMessageBox::Information);
}

void Fm_Cofferly::ImportLegacyFile()
{
    const FileChoice choice = desktop_.ChooseFile(
        this, Texts::LegacyImportDialogTitle, {Texts::LegacyFilter, Texts::ImportAnyFilter}, false);
    if (choice.path.isEmpty())
        return;
    auto imported = session_.ImportLegacy(choice.path);
    if (const auto* error = std::get_if<StoreError>(&imported))
        return desktop_.Tell(
            this, Texts::ImportFailed.arg(ShownPath(choice.path), StoreErrorReason(*error)),
            QMessageBox::Warning);
    FillTitles();
    Carry(state_.Loaded());
    auto& report = std::get<DataSession::SaveReport>(imported);
    QString told = Texts::LegacyImported.arg(Table().size()).arg(ShownPath(choice.path));
    if (!report.ownVersion.isEmpty())
        told += Texts::LegacyKeptBefore.arg(ShownPath(std::exchange(report.ownVersion, {})));
    desktop_.Tell(this, told, QMessageBox::Information);
    for (const QString& notice : SaveNotices(report, session_.DataPath()))
        desktop_.Tell(this, notice, QMessageBox::Information);
}
