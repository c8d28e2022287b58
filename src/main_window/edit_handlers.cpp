// Add and edit modes, the commit that saves them, and deleting an entry.
#include "fm_cofferly.h"
#include "platform/text_selection.h"
#include "resources/character_name.h"
#include "resources/texts.h"
#include "store/data_file.h"

namespace {

void ShowTableFull(Desktop& desktop, QWidget* parent)
{
    MessageRequest full;
    full.text = Texts::TableFull;
    full.title = Texts::MessageTitle;
    desktop.Show(parent, full);
}

} // namespace

void Fm_Cofferly::Bt_Add_Click()
{
    if (Table().size() >= kEntryCapacity) {
        ShowTableFull(desktop_, this);
        return;
    }
    SetMode(Mode::Adding);
    for (QLineEdit* box : Tx_Data)
        box->clear();
    Tx_Data[0]->setFocus(Qt::OtherFocusReason);
}

void Fm_Cofferly::Bt_Edit_Click()
{
    // An empty table has no entry to edit.
    const int k = IComboTitle->SelectedIndex();
    if (k < 1 || k > Table().size()) {
        desktop_.Beep();
        return;
    }
    SetMode(Mode::Editing);
    const Entry& entry = Table()[k - 1];
    Tx_Data[0]->setText(entry.title);
    Tx_Data[1]->setText(entry.id);
    Tx_Data[2]->setText(entry.pw);
    Tx_Data[3]->setText(entry.url);
    // Show each text from its start, as a long URL is read from the left.
    for (QLineEdit* box : Tx_Data)
        box->setCursorPosition(0);
    Tx_Data[0]->setFocus(Qt::OtherFocusReason);
}

void Fm_Cofferly::Bt_OK_Click(int index)
{
    const int k = IComboTitle->SelectedIndex();
    if (index != 0) {
        LeaveMode(k);
        return;
    }
    if (!TextsAreStorable())
        return; // the mode stays open with everything typed
    const Entry typed{Tx_Data[0]->text(), Tx_Data[1]->text(), Tx_Data[2]->text(),
                      Tx_Data[3]->text()};
    const bool adding = mode_ == Mode::Adding;
    Entries changed = Table();
    if (adding) {
        // There is no room for a 201st entry, and the file could not be read back.
        if (changed.size() >= kEntryCapacity) {
            ShowTableFull(desktop_, this);
            return; // the mode stays open with everything typed
        }
        changed.insert(k, typed);
    } else {
        changed[k - 1] = typed;
    }
    // A failed save has been reported; the mode stays open with everything typed, to try
    // again or go back.
    if (!Commit(changed))
        return;
    LeaveMode(k);
    // The entry display shows an edited entry as saved; an add into an empty table had no
    // entry on show, and shows the one now selected.
    if (!adding)
        ShowEntry(k);
    else if (k < 1)
        ShowEntry(1);
}

void Fm_Cofferly::LeaveMode(int k)
{
    SetMode(Mode::Browsing);
    IComboTitle->setFocus(Qt::OtherFocusReason);
    // In an empty table nothing was selected; the first add leaves its entry selected.
    if (k >= 1)
        IComboTitle->SelectItem(k);
}

bool Fm_Cofferly::TextsAreStorable()
{
    const QString* fieldNames[] = {&Texts::TitleFieldName, &Texts::IdFieldName, &Texts::PwFieldName,
                                   &Texts::UrlFieldName};
    for (int i = 0; i < 4; ++i) {
        const auto bad = DataFile::FirstUnstorable(Tx_Data[i]->text());
        if (!bad)
            continue;
        MessageRequest refusal;
        refusal.text = Texts::UnstorableMessage(*fieldNames[i], *bad);
        refusal.title = Texts::MessageTitle;
        refusal.icon = QMessageBox::Warning;
        desktop_.Show(this, refusal);
        // The focus selects the whole text; the refused character alone is what to mend.
        Tx_Data[i]->setFocus(Qt::OtherFocusReason);
        TextSelection::SelectCharacter(Tx_Data[i], *bad);
        return false;
    }
    return true;
}

// In add mode anything typed counts; in edit mode what differs from the entry being edited.
bool Fm_Cofferly::PanelChanged() const
{
    if (mode_ != Mode::Adding && mode_ != Mode::Editing)
        return false;
    const Entry typed{Tx_Data[0]->text(), Tx_Data[1]->text(), Tx_Data[2]->text(),
                      Tx_Data[3]->text()};
    const int k = IComboTitle->SelectedIndex();
    if (mode_ == Mode::Editing && k >= 1 && k <= Table().size())
        return typed != Table()[k - 1];
    return typed != Entry{};
}

void Fm_Cofferly::Bt_Del_Click()
{
    const int n = static_cast<int>(Table().size());
    // An empty table has nothing to delete.
    const int k = IComboTitle->SelectedIndex();
    if (n == 0 || k < 1) {
        desktop_.Beep();
        return;
    }
    if (n == 1) {
        MessageRequest last;
        last.text = Texts::LastEntryUndeletable;
        desktop_.Show(this, last);
        return;
    }
    MessageRequest question;
    question.text = Table()[k - 1].title + Texts::DeleteQuestionSuffix;
    question.title = Texts::DeleteQuestionTitle;
    question.buttons = MessageRequest::Buttons::YesNo;
    question.defaultAnswer = MessageRequest::Answer::No;
    question.icon = QMessageBox::Question;
    if (desktop_.Show(this, question) != MessageRequest::Answer::Yes) {
        IComboTitle->setFocus(Qt::OtherFocusReason);
        return;
    }
    Entries changed = Table();
    changed.removeAt(k - 1);
    // A failed save has been reported, and the entry is still there.
    if (!Commit(changed))
        return;
    IComboTitle->SelectItem(1);
    ClearEntryDisplay();
    IComboTitle->setFocus(Qt::OtherFocusReason);
}
