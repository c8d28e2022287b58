// The lock: the entries are hidden and the key wiped until the password is typed again;
// after the set idle time it comes by itself.
#include "fm_cofferly.h"
#include "platform/clipboard.h"
#include "platform/password_dialog.h"
#include "resources/encryption_texts.h"
#include "resources/store_messages.h"

#include <QApplication>

void Fm_Cofferly::menu_Lock_Click()
{
    Carry(state_.LockChosen(IComboTitle->SelectedIndex(), Typed()));
}

// A question, a menu or the sort window open means someone is at work there; the wait
// starts again with their next input.
void Fm_Cofferly::IdleWatch_Idle()
{
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        WatchForIdle();
        return;
    }
    Carry(state_.IdleLock(IComboTitle->SelectedIndex(), Typed()));
}

// Waits while the data is encrypted and open, for as long as the settings say.
void Fm_Cofferly::WatchForIdle()
{
    const bool open = session_.Encrypted() && !state_.Locked() && !ended_;
    idleWatch_.Watch(open ? settings_.lockAfterMinutes : 0);
}

void Fm_Cofferly::LockWindow()
{
    IComboTitle->Clear();
    ClearEntryDisplay();
    Act(clipboardWait_.ClearNow(Clipboard::HoldsOurs()));
    LbClipBoard->clear();
    session_.Lock();
    WatchForIdle();
    AskToUnlock();
}

// Until the right password, nothing of the entries shows; キャンセル ends the program, with
// nothing to save: the key that could seal it is gone.
void Fm_Cofferly::AskToUnlock()
{
    for (;;) {
        PasswordDialog dialog(this, PasswordDialog::Purpose::Unlock);
        if (dialog.exec() != QDialog::Accepted)
            return EndLocked();
        const auto refused = session_.Unlock(dialog.TakePassword());
        if (!refused)
            break;
        desktop_.Tell(
            this,
            Texts::PasswordRefused.arg(ShownPath(session_.DataPath()), StoreErrorReason(*refused)),
            QMessageBox::Warning);
    }
    // The window stays where the user left it.
    FillTitles();
    Carry(state_.Unlocked());
    WatchForIdle();
}

void Fm_Cofferly::EndLocked()
{
    ended_ = true;
    hide();
    desktop_.EndProgram(0);
}
