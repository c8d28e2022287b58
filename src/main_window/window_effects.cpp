// Carries out what the state answers each event with.
#include "fm_cofferly.h"
#include "platform/clipboard.h"
#include "platform/text_selection.h"
#include "resources/character_name.h"
#include "resources/csv_messages.h"
#include "resources/encryption_texts.h"
#include "resources/texts.h"

namespace {

using Effect = MainWindowState::Effect;
using Kind = Effect::Kind;

MainWindowState::Answer StateAnswer(MessageRequest::Answer answer)
{
    switch (answer) {
    case MessageRequest::Answer::Yes:
        return MainWindowState::Answer::Yes;
    case MessageRequest::Answer::No:
        return MainWindowState::Answer::No;
    default:
        return MainWindowState::Answer::Cancel;
    }
}

} // namespace

void Fm_Cofferly::Carry(const MainWindowState::Effects& effects)
{
    ApplyState();
    for (const Effect& effect : effects)
        Do(effect);
}

void Fm_Cofferly::Do(const Effect& effect)
{
    switch (effect.kind) {
    case Kind::Beep:
        return desktop_.Beep();
    case Kind::PutOnClipboard:
        return PutOnClipboard(effect.text);
    case Kind::OpenUrl:
        return desktop_.OpenUrl(this, effect.text);
    case Kind::TellTableFull:
    case Kind::TellLastEntry:
    case Kind::TellUnstorable:
    case Kind::TellNoImport:
        return Tell(effect);
    case Kind::Ask:
        return Ask(effect);
    case Kind::Commit: {
        const bool saved = Commit(effect.entries);
        return Carry(state_.Committed(saved));
    }
    case Kind::ShowEntry:
        return ShowEntry(effect.n);
    case Kind::ClearEntryDisplay:
        return ClearEntryDisplay();
    case Kind::SelectTitle:
        return IComboTitle->SelectItem(effect.n);
    case Kind::FocusTitles:
        return IComboTitle->setFocus(Qt::OtherFocusReason);
    case Kind::ClearPanel:
        for (QLineEdit* box : Tx_Data)
            box->clear();
        return;
    case Kind::FillPanel:
        return FillPanel(effect.entry);
    case Kind::FocusField:
        return Tx_Data[effect.n]->setFocus(Qt::OtherFocusReason);
    case Kind::SelectCharacter:
        return TextSelection::SelectCharacter(Tx_Data[effect.n], effect.character);
    case Kind::Press:
        // A button that the state disables takes no click.
        return ButtonOf(effect.control)->click();
    case Kind::SaveAtClose:
        ReportSave(session_.SaveAtClose(WindowPosition()), true);
        return;
    case Kind::KeepOpen:
        keepOpen_ = true;
        return;
    case Kind::EndCopyRun:
        return Carry(state_.CopyRunEnded());
    case Kind::PutInField:
        return Tx_Data[effect.n]->setText(effect.text);
    default:
        return DoCommand(effect);
    }
}

// The menu's commands: each opens a dialog of its own, acts on the clipboard or locks.
void Fm_Cofferly::DoCommand(const Effect& effect)
{
    switch (effect.kind) {
    case Kind::ClearClipboard:
        return Act(clipboardWait_.ClearNow(Clipboard::HoldsOurs()));
    case Kind::EditSettings:
        EditSettings();
        return;
    case Kind::ChooseExportFile:
        return ExportFile();
    case Kind::ChooseImportFile:
        return ImportFile();
    case Kind::OpenSearch:
        return ShowSearch();
    case Kind::OpenGenerator:
        return ShowGenerator();
    case Kind::Lock:
        return LockWindow();
    case Kind::NewPassword:
        return SetNewPassword(effect.n == 1);
    case Kind::TurnOff:
        return TurnOffEncryption();
    case Kind::ChooseLegacyExportFile:
        return ExportLegacyFile();
    case Kind::ChooseLegacyImportFile:
        return ImportLegacyFile();
    default:
        return;
    }
}

void Fm_Cofferly::Tell(const Effect& effect)
{
    if (effect.kind == Kind::TellTableFull)
        return desktop_.Tell(this, Texts::TableFull, QMessageBox::NoIcon);
    // This one shows the application's title.
    if (effect.kind == Kind::TellLastEntry)
        return desktop_.Tell(this, Texts::LastEntryUndeletable, QMessageBox::NoIcon, QString());
    if (effect.kind == Kind::TellNoImport) {
        const auto& import = effect.import;
        return desktop_.Tell(this, CsvMessages::ImportSummary(import.refused, 0, 0, import.left),
                             QMessageBox::Warning);
    }
    const QString* fieldNames[] = {&Texts::TitleFieldName, &Texts::IdFieldName, &Texts::PwFieldName,
                                   &Texts::UrlFieldName};
    desktop_.Tell(this, Texts::UnstorableMessage(*fieldNames[effect.n], effect.character),
                  QMessageBox::Warning);
}

void Fm_Cofferly::Ask(const Effect& effect)
{
    using Answer = MessageRequest::Answer;
    using Question = MainWindowState::Question;
    const auto& import = effect.import;
    Answer answer = Answer::No;
    switch (effect.question) {
    case Question::DeleteEntry:
        answer = desktop_.Ask(this, effect.text + Texts::DeleteQuestionSuffix, Answer::No,
                              Texts::DeleteQuestionTitle);
        break;
    case Question::ExportWarning:
        answer = desktop_.Ask(this, Texts::ExportWarning, Answer::No, Texts::ExportWarningTitle,
                              QMessageBox::Warning);
        break;
    case Question::ImportRows:
        answer = desktop_.Ask(
            this,
            CsvMessages::ImportSummary(import.refused, import.taken, import.headings, import.left),
            Answer::Yes, Texts::ImportQuestionTitle);
        break;
    case Question::Decrypt:
        answer = desktop_.Ask(this, Texts::DecryptQuestion, Answer::No, Texts::DecryptTitle,
                              QMessageBox::Warning);
        break;
    case Question::LegacyWarning:
        answer = desktop_.Ask(this, Texts::LegacyWarning, Answer::No, Texts::LegacyWarningTitle,
                              QMessageBox::Warning);
        break;
    case Question::LegacyImport:
        answer =
            desktop_.Ask(this, Texts::LegacyImportQuestion, Answer::No, Texts::LegacyImportTitle);
        break;
    default:
        // The close's question, and the lock's in the same words.
        answer = desktop_.AskOrCancel(this, Texts::CloseSaveQuestion, Answer::Yes,
                                      Texts::SaveQuestionTitle, QMessageBox::NoIcon);
    }
    Carry(state_.Answered(StateAnswer(answer)));
}

void Fm_Cofferly::ShowEntry(int n)
{
    const Entry& entry = Table()[n - 1];
    Lb_data[0]->setText(entry.id);
    Lb_data[1]->setText(entry.pw);
    Lb_data[2]->setText(entry.url);
    Lb_data[2]->setToolTip(entry.url);
}

void Fm_Cofferly::ClearEntryDisplay()
{
    for (QLabel* label : Lb_data)
        label->clear();
    Lb_data[2]->setToolTip(QString());
}

// Each text shows from its start, as a long URL is read from the left.
void Fm_Cofferly::FillPanel(const Entry& entry)
{
    Tx_Data[0]->setText(entry.title);
    Tx_Data[1]->setText(entry.id);
    Tx_Data[2]->setText(entry.pw);
    Tx_Data[3]->setText(entry.url);
    for (QLineEdit* box : Tx_Data)
        box->setCursorPosition(0);
}
