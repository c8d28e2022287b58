// Add and edit modes, the commit that saves them, and deleting an entry.
#include "fm_cofferly.h"
#include "resources/character_name.h"
#include "resources/texts.h"
#include "store/data_file.h"

namespace {

void CopyEntry(EntryTable& t, int from, int to)
{
    t.DataTitle[to] = t.DataTitle[from];
    t.DataID[to] = t.DataID[from];
    t.DataPW[to] = t.DataPW[from];
    t.DataURL[to] = t.DataURL[from];
}

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
    if (table_.DataCount >= EntryTable::kCapacity) {
        ShowTableFull(desktop_, this);
        return;
    }
    EnterMode(Texts::CommitAddCaption);
    for (QLineEdit* box : Tx_Data)
        box->clear();
    Tx_Data[0]->setFocus(Qt::OtherFocusReason);
}

void Fm_Cofferly::Bt_Edit_Click()
{
    // An empty table has no entry to edit.
    const int k = IComboTitle->SelectedIndex();
    if (k < 1 || k > table_.DataCount) {
        desktop_.Beep();
        return;
    }
    EnterMode(Texts::CommitEditCaption);
    Tx_Data[0]->setText(IComboTitle->Text());
    Tx_Data[1]->setText(table_.DataID[k]);
    Tx_Data[2]->setText(table_.DataPW[k]);
    Tx_Data[3]->setText(table_.DataURL[k]);
    // Show each text from its start, as a long URL is read from the left.
    for (QLineEdit* box : Tx_Data)
        box->setCursorPosition(0);
    Tx_Data[0]->setFocus(Qt::OtherFocusReason);
}

void Fm_Cofferly::EnterMode(const QString& commitCaption)
{
    SetOuterHeight(kEditHeight);
    IComboTitle->setEnabled(false);
    Bt_Clip[0]->setEnabled(false);
    Bt_Clip[1]->setEnabled(false);
    CmdURL->setEnabled(false);
    Bt_Add->setEnabled(false);
    Bt_Edit->setEnabled(false);
    Bt_Del->setEnabled(false);
    // A sort saved during a mode would move the entry the commit is meant for.
    cmdSort->setEnabled(false);
    for (QLineEdit* box : Tx_Data)
        box->setEnabled(true);
    Bt_OK[0]->setEnabled(true);
    SetDefaultButton(Bt_OK[0]);
    Bt_OK[0]->setText(commitCaption);
    Bt_OK[1]->setEnabled(true);
    SetCancelButton(Bt_OK[1]);
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
    const int n = table_.DataCount;
    if (Bt_OK[0]->text() == Texts::CommitAddCaption) {
        // The caption alone decides, so an add can reach a full table from edit mode too;
        // there is no slot for a 201st entry, and the file could not be read back.
        if (n >= EntryTable::kCapacity) {
            ShowTableFull(desktop_, this);
            return; // the mode stays open with everything typed
        }
        for (int i = n; i >= k + 1; --i)
            CopyEntry(table_, i, i + 1);
        table_.DataCount = static_cast<qint16>(n + 1);
        table_.DataTitle[k + 1] = Tx_Data[0]->text();
        table_.DataID[k + 1] = Tx_Data[1]->text();
        table_.DataPW[k + 1] = Tx_Data[2]->text();
        table_.DataURL[k + 1] = Tx_Data[3]->text();
        if (!SaveData())
            return;
    } else {
        table_.DataTitle[k] = Tx_Data[0]->text();
        table_.DataID[k] = Tx_Data[1]->text();
        table_.DataPW[k] = Tx_Data[2]->text();
        table_.DataURL[k] = Tx_Data[3]->text();
        Lb_data[0]->setText(Tx_Data[1]->text());
        Lb_data[1]->setText(Tx_Data[2]->text());
        Lb_data[2]->setText(Tx_Data[3]->text());
        Lb_data[2]->setToolTip(Tx_Data[3]->text());
        if (!SaveData())
            return;
    }
    if (!LoadData())
        return;
    LeaveMode(k);
    // An add into an empty table had no entry on show; show the one now selected.
    if (k < 1)
        ShowEntry(1);
}

void Fm_Cofferly::LeaveMode(int k)
{
    IComboTitle->setEnabled(true);
    Bt_Clip[0]->setEnabled(true);
    SetDefaultButton(Bt_Clip[0]);
    Bt_Clip[1]->setEnabled(true);
    CmdURL->setEnabled(true);
    Bt_Add->setEnabled(true);
    Bt_Edit->setEnabled(true);
    Bt_Del->setEnabled(true);
    cmdSort->setEnabled(true);
    for (QLineEdit* box : Tx_Data)
        box->setEnabled(false);
    Bt_OK[0]->setEnabled(false);
    Bt_OK[1]->setEnabled(false);
    SetOuterHeight(kBrowsingHeight);
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
        refusal.text = Texts::UnstorableCharacter.arg(*fieldNames[i], Texts::CharacterName(*bad));
        refusal.title = Texts::MessageTitle;
        refusal.icon = QMessageBox::Warning;
        desktop_.Show(this, refusal);
        Tx_Data[i]->setFocus(Qt::OtherFocusReason);
        return false;
    }
    return true;
}

void Fm_Cofferly::Bt_Del_Click()
{
    const int n = table_.DataCount;
    // An empty table has nothing to delete.
    if (n == 0 || IComboTitle->SelectedIndex() < 1) {
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
    question.text = IComboTitle->Text() + Texts::DeleteQuestionSuffix;
    question.title = Texts::DeleteQuestionTitle;
    question.buttons = MessageRequest::Buttons::YesNo;
    question.defaultAnswer = MessageRequest::Answer::No;
    question.icon = QMessageBox::Question;
    if (desktop_.Show(this, question) != MessageRequest::Answer::Yes) {
        IComboTitle->setFocus(Qt::OtherFocusReason);
        return;
    }
    const int k = IComboTitle->SelectedIndex();
    for (int i = k; i <= n - 1; ++i)
        CopyEntry(table_, i + 1, i);
    table_.DataCount = static_cast<qint16>(n - 1);
    if (!SaveData() || !LoadData())
        return;
    IComboTitle->SelectItem(1);
    ClearEntryDisplay();
    IComboTitle->setFocus(Qt::OtherFocusReason);
}
