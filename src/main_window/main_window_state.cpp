#include "main_window_state.h"

#include "store/data_file.h"
#include "store/import_placement.h"

#include <algorithm>
#include <utility>

namespace {

using State = MainWindowState;
using Effect = State::Effect;
using Kind = Effect::Kind;

Effect Do(Kind kind, int n = 0)
{
    return {.kind = kind, .n = n};
}

} // namespace

// While a copy run lasts only its own copy button (and TOP) stay: anything that changed the
// entry on show, or the list itself, would leave the run with pieces of another text. A
// sort saved during a mode would move the entry the commit is meant for.
bool State::Usable(Control control) const
{
    // Behind the lock nothing is shown, so nothing can be used.
    if (locked_)
        return false;
    const bool browsing = mode_ == Mode::Browsing && !run_;
    switch (control) {
    case Control::Bt_Clip0:
    case Control::Bt_Clip1: {
        // A copy button works while browsing, and during a run only for the run's text.
        const int index = control == Control::Bt_Clip0 ? 0 : 1;
        return run_ ? run_->button == index : mode_ == Mode::Browsing;
    }
    case Control::Tx_Data:
    case Control::Bt_OK0:
    case Control::Bt_OK1:
        return mode_ != Mode::Browsing;
    case Control::None:
        return false;
    default:
        return browsing;
    }
}

State::Control State::DefaultButton() const
{
    return mode_ == Mode::Browsing ? Control::Bt_Clip0 : Control::Bt_OK0;
}

State::Control State::CancelButton() const
{
    return mode_ == Mode::Browsing ? Control::None : Control::Bt_OK1;
}

const Entry* State::ShownEntry() const
{
    return shown_ >= 1 && shown_ <= table_->size() ? &(*table_)[shown_ - 1] : nullptr;
}

State::Effects State::Show(int n)
{
    shown_ = n;
    return {Do(Kind::ShowEntry, n)};
}

State::Effects State::Loaded()
{
    mode_ = Mode::Browsing;
    if (table_->isEmpty())
        return {};
    return Effects{Do(Kind::SelectTitle, 1)} + Show(1);
}

State::Effects State::TitlePicked(int n)
{
    // The selector is disabled while a run lasts; a pick ends any run all the same.
    run_.reset();
    if (n < 1 || n > table_->size())
        return {};
    return Show(n);
}

void State::ClipPressed(int index, int shift)
{
    // A disabled button still sees the press but takes no part in copying: a Shift-press
    // on the greyed-out ID button during a PW run must not turn the run's keyboard copies
    // into whole copies.
    if (!Usable(index == 0 ? Control::Bt_Clip0 : Control::Bt_Clip1))
        return;
    shiftCopy_ = shift == 1;
}

State::Effects State::ClipClicked(int index)
{
    const Entry* shown = ShownEntry();
    const QString s = !shown ? QString() : index == 0 ? shown->id : shown->pw;
    if (s.isEmpty())
        return {Do(Kind::Beep)};
    // The whole text; a run in progress goes on at the next plain click.
    if (shiftCopy_)
        return {{.kind = Kind::PutOnClipboard, .text = s}};
    if (!run_)
        run_ = CopyRun{index, DevideSentense(s), 0};
    Effects effects{{.kind = Kind::PutOnClipboard, .text = run_->Pieces.at(run_->PieceNo)}};
    // The run shows as under way while its piece is copied, even a run of one piece.
    if (++run_->PieceNo == run_->Pieces.size())
        effects << Do(Kind::EndCopyRun);
    return effects;
}

// After the last piece, the clipboard and LbClipBoard keep it.
State::Effects State::CopyRunEnded()
{
    run_.reset();
    return {};
}

QStringList State::DevideSentense(const QString& text)
{
    QStringList Pieces;
    const qsizetype last = text.size() - 1;
    qsizetype start = 0;
    for (qsizetype j = start; j <= last; ++j) {
        if (j == last) {
            // The last character never separates: a final dash stays in the last piece.
            Pieces << text.mid(start);
            break;
        }
        if (text[j] == u'-') {
            Pieces << text.mid(start, j - start);
            start = j + 1;
        }
    }
    return Pieces;
}

State::Effects State::UrlClicked() const
{
    const Entry* shown = ShownEntry();
    const QString u = shown ? shown->url : QString();
    if (u.isEmpty())
        return {Do(Kind::Beep)};
    return {{.kind = Kind::OpenUrl, .text = u}};
}

State::Effects State::AddClicked()
{
    if (table_->size() >= kEntryCapacity)
        return {Do(Kind::TellTableFull)};
    mode_ = Mode::Adding;
    return {Do(Kind::ClearPanel), Do(Kind::FocusField, 0)};
}

State::Effects State::EditClicked(int k)
{
    // An empty table has no entry to edit.
    if (k < 1 || k > table_->size())
        return {Do(Kind::Beep)};
    mode_ = Mode::Editing;
    return {{.kind = Kind::FillPanel, .entry = (*table_)[k - 1]}, Do(Kind::FocusField, 0)};
}

State::Effects State::LeaveMode(int k)
{
    mode_ = Mode::Browsing;
    Effects effects{Do(Kind::FocusTitles)};
    // In an empty table nothing was selected; the first add leaves its entry selected.
    if (k >= 1)
        effects << Do(Kind::SelectTitle, k);
    return effects;
}

// The first typed character the data file cannot hold: say which, and select it alone,
// since the focus selects the whole text.
std::optional<State::Effects> State::Unstorable(const Entry& typed) const
{
    const auto bad = DataFile::FirstUnstorableField(typed);
    if (!bad)
        return std::nullopt;
    return Effects{{.kind = Kind::TellUnstorable, .n = bad->field, .character = bad->character},
                   Do(Kind::FocusField, bad->field),
                   {.kind = Kind::SelectCharacter, .n = bad->field, .character = bad->character}};
}

State::Effects State::OkClicked(int index, int k, const Entry& typed)
{
    if (index != 0)
        return LeaveMode(k);
    // A refusal leaves the mode open with everything typed.
    if (auto refusal = Unstorable(typed))
        return *refusal;
    Entries changed = *table_;
    if (mode_ == Mode::Adding) {
        // There is no room for a 201st entry, and the file could not be read back.
        if (changed.size() >= kEntryCapacity)
            return {Do(Kind::TellTableFull)};
        changed.insert(k, typed);
    } else {
        changed[k - 1] = typed;
    }
    return Commit(changed, {.mode = mode_, .k = k});
}

State::Effects State::Commit(Entries entries, Pending pending)
{
    pending_ = pending;
    return {{.kind = Kind::Commit, .entries = std::move(entries)}};
}

State::Effects State::DeleteClicked(int k)
{
    // An empty table has nothing to delete.
    const auto n = table_->size();
    if (n == 0 || k < 1)
        return {Do(Kind::Beep)};
    if (n == 1)
        return {Do(Kind::TellLastEntry)};
    asking_ = Question::DeleteEntry;
    pending_ = {.deleting = true, .k = k};
    return {{.kind = Kind::Ask, .text = (*table_)[k - 1].title, .question = asking_}};
}

State::Effects State::SortClosed()
{
    Effects effects;
    if (!table_->isEmpty())
        effects << Do(Kind::SelectTitle, 1);
    shown_ = 0;
    return effects << Do(Kind::ClearEntryDisplay);
}

// In add mode anything typed counts; in edit mode what differs from the entry being edited.
bool State::PanelChanged(int k, const Entry& typed) const
{
    if (mode_ == Mode::Browsing)
        return false;
    if (mode_ == Mode::Editing && k >= 1 && k <= table_->size())
        return typed != (*table_)[k - 1];
    return typed != Entry{};
}

// Texts typed in a mode may be the user's only copy of a new password: they are not
// dropped without a word.
State::Effects State::CloseAsked(int k, const Entry& typed)
{
    if (!PanelChanged(k, typed))
        return {Do(Kind::SaveAtClose)};
    asking_ = Question::SaveAtClose;
    closeK_ = k;
    closeTyped_ = typed;
    return {{.kind = Kind::Ask, .question = asking_}};
}

State::Effects State::Answered(Answer answer)
{
    const Question question = std::exchange(asking_, Question::None);
    // The questions whose はい goes on with one step, and whose いいえ changes nothing.
    const std::pair<Question, Kind> onYes[] = {
        {Question::ExportWarning, Kind::ChooseExportFile},
        {Question::Decrypt, Kind::TurnOff},
        {Question::LegacyWarning, Kind::ChooseLegacyExportFile},
        {Question::LegacyImport, Kind::ChooseLegacyImportFile}};
    for (const auto& [asked, step] : onYes) {
        if (asked == question)
            return answer == Answer::Yes ? Effects{Do(step)} : Effects{};
    }
    if (question == Question::ImportRows) {
        if (answer != Answer::Yes)
            return {Do(Kind::FocusTitles)};
        return Commit(std::exchange(imported_, {}), {.importing = true, .k = importedK_});
    }
    if (question == Question::DeleteEntry) {
        if (answer != Answer::Yes)
            return {Do(Kind::FocusTitles)};
        Entries changed = *table_;
        changed.removeAt(pending_.k - 1);
        return Commit(changed, pending_);
    }
    const bool locking = question == Question::SaveAtLock;
    if (answer == Answer::No)
        return locking ? LeaveMode(closeK_) + LockNow(closeK_) : Effects{Do(Kind::SaveAtClose)};
    if (answer != Answer::Yes)
        return locking ? Effects{} : Effects{Do(Kind::KeepOpen)};
    Effects effects = OkClicked(0, closeK_, closeTyped_);
    // A refusal has been told and left the mode open; a commit decides once it is done.
    if (effects.last().kind == Kind::Commit)
        (locking ? pending_.locking : pending_.closing) = true;
    else if (!locking)
        effects << Do(Kind::KeepOpen);
    return effects;
}

State::Effects State::Committed(bool saved)
{
    const Pending pending = std::exchange(pending_, {});
    // A failed save has been reported: the mode stays open with everything typed, and a
    // deleted entry is still there.
    if (!saved)
        return pending.closing ? Effects{Do(Kind::KeepOpen)} : Effects{};
    if (pending.deleting) {
        shown_ = 0;
        return {Do(Kind::SelectTitle, 1), Do(Kind::ClearEntryDisplay), Do(Kind::FocusTitles)};
    }
    if (pending.importing) {
        // The selected entry stays selected where it now stands; an empty table had none,
        // and shows the first entry that came in.
        const int k = std::max(pending.k, 1);
        return Effects{Do(Kind::SelectTitle, k)} + Show(k) + Effects{Do(Kind::FocusTitles)};
    }
    Effects effects = LeaveMode(pending.k);
    // The entry display shows an edited entry as saved; an add into an empty table had no
    // entry on show, and shows the one now selected.
    if (pending.mode != Mode::Adding)
        effects << Show(pending.k);
    else if (pending.k < 1)
        effects << Show(1);
    if (pending.closing)
        effects << Do(Kind::SaveAtClose);
    if (pending.locking)
        effects += LockNow(pending.k);
    return effects;
}

// The file holds every password in plain text: the user says so before it is written.
State::Effects State::ExportChosen()
{
    return Asks(Question::ExportWarning);
}

State::Effects State::Asks(Question question)
{
    asking_ = question;
    return {{.kind = Kind::Ask, .question = asking_}};
}

State::Effects State::ImportChosen()
{
    return {Do(Kind::ChooseImportFile)};
}

// The rows go in only after the user has seen which rows are refused and which do not fit.
State::Effects State::ImportRead(int k, const CsvLayouts::Rows& rows)
{
    if (!Browsing())
        return {};
    const auto placed = ImportPlacement::Place(*table_, k, rows.rows);
    const Effect::Import import{rows.refused, placed.taken, placed.headings, placed.left};
    if (placed.taken == 0)
        return {{.kind = Kind::TellNoImport, .import = import}};
    asking_ = Question::ImportRows;
    imported_ = placed.entries;
    importedK_ = placed.selected;
    return {{.kind = Kind::Ask, .question = asking_, .import = import}};
}

std::optional<State::Effects> State::KeyPressed(Key key)
{
    // A run started on the wrong entry need not be clicked through to its end.
    if (key == Key::Escape && run_) {
        run_.reset();
        return Effects{};
    }
    const Control target = key == Key::Enter ? DefaultButton() : CancelButton();
    if (target == Control::None)
        return std::nullopt;
    return Effects{{.kind = Kind::Press, .control = target}};
}

bool State::Offers(WindowCommand command) const
{
    switch (command) {
    case WindowCommand::Encrypt:
        return !encrypted_;
    case WindowCommand::Lock:
    case WindowCommand::ChangePassword:
    case WindowCommand::Decrypt:
    case WindowCommand::ExportLegacy:
    case WindowCommand::ImportLegacy:
        return encrypted_;
    default:
        return true;
    }
}

bool State::Allows(WindowCommand command) const
{
    // The password dialog stands over the window: the entries come back first.
    if (locked_)
        return false;
    switch (command) {
    case WindowCommand::ClearClipboard:
        // Whatever the window is doing: a secret is never kept waiting for a mode to end.
        return true;
    case WindowCommand::EditSettings:
        // The dialog changes nothing of what the window is doing.
        return true;
    case WindowCommand::Export:
    case WindowCommand::Import:
        // The table as saved, with nothing typed or half copied.
        return Browsing();
    case WindowCommand::Search:
        return Usable(Control::IComboTitle);
    case WindowCommand::Generate:
        return Usable(Control::Tx_Data);
    case WindowCommand::Lock:
        // Without a key to wipe, a lock would protect nothing.
        return encrypted_;
    case WindowCommand::Encrypt:
        return !encrypted_ && Browsing();
    case WindowCommand::ChangePassword:
    case WindowCommand::Decrypt:
    case WindowCommand::ExportLegacy:
    case WindowCommand::ImportLegacy:
        return encrypted_ && Browsing();
    }
    return false;
}

State::Effects State::CommandChosen(WindowCommand command)
{
    if (!Allows(command))
        return {};
    switch (command) {
    case WindowCommand::ClearClipboard:
        return {Do(Kind::ClearClipboard)};
    case WindowCommand::EditSettings:
        return {Do(Kind::EditSettings)};
    case WindowCommand::Export:
        return ExportChosen();
    case WindowCommand::Import:
        return ImportChosen();
    case WindowCommand::Search:
        return {Do(Kind::OpenSearch)};
    case WindowCommand::Generate:
        return {Do(Kind::OpenGenerator)};
    case WindowCommand::Encrypt:
        return {Do(Kind::NewPassword, 0)};
    case WindowCommand::ChangePassword:
        return {Do(Kind::NewPassword, 1)};
    case WindowCommand::Decrypt:
        return Asks(Question::Decrypt);
    case WindowCommand::ExportLegacy:
        return Asks(Question::LegacyWarning);
    case WindowCommand::ImportLegacy:
        return Asks(Question::LegacyImport);
    case WindowCommand::Lock:
        // LockChosen, which needs the edit panel's texts.
        break;
    }
    return {};
}

// Texts typed in a mode are not dropped without a word, as at the close.
State::Effects State::LockChosen(int k, const Entry& typed)
{
    if (!Allows(WindowCommand::Lock))
        return {};
    run_.reset();
    if (PanelChanged(k, typed)) {
        asking_ = Question::SaveAtLock;
        closeK_ = k;
        closeTyped_ = typed;
        return {{.kind = Kind::Ask, .question = asking_}};
    }
    const Effects leave = mode_ == Mode::Browsing ? Effects{} : LeaveMode(k);
    return leave + LockNow(k);
}

// Nobody is there to answer a question: the mode's texts are hidden and kept instead.
State::Effects State::IdleLock(int k, const Entry& typed)
{
    if (!Allows(WindowCommand::Lock))
        return {};
    run_.reset();
    Effects effects;
    if (mode_ != Mode::Browsing) {
        heldTyped_ = typed;
        effects << Do(Kind::ClearPanel);
    }
    return effects + LockNow(k);
}

State::Effects State::LockNow(int k)
{
    locked_ = true;
    lockK_ = k;
    return {Do(Kind::Lock)};
}

State::Effects State::Unlocked()
{
    if (!locked_)
        return {};
    locked_ = false;
    Effects effects;
    if (lockK_ >= 1 && lockK_ <= table_->size())
        effects << Do(Kind::SelectTitle, lockK_);
    if (ShownEntry())
        effects << Do(Kind::ShowEntry, shown_);
    if (!heldTyped_)
        return effects << Do(Kind::FocusTitles);
    effects << Effect{.kind = Kind::FillPanel, .entry = *std::exchange(heldTyped_, std::nullopt)}
            << Do(Kind::FocusField, 0);
    return effects;
}

// The title selector is given the pick from code, which raises no click: the state then
// goes the way of that click.
State::Effects State::SearchPicked(int n)
{
    if (!Allows(WindowCommand::Search) || n < 1 || n > table_->size())
        return {};
    return Effects{Do(Kind::SelectTitle, n)} + TitlePicked(n) + Effects{Do(Kind::FocusTitles)};
}

State::Effects State::PasswordMade(const QString& pw)
{
    if (!Allows(WindowCommand::Generate))
        return {};
    return {{.kind = Kind::PutInField, .n = 2, .text = pw}, Do(Kind::FocusField, 2)};
}
