// The one place that derives every control's state from the window's mode.
#include "fm_cofferly.h"
#include "resources/texts.h"

void Fm_Cofferly::SetMode(Mode mode)
{
    mode_ = mode;
    ApplyMode();
}

// A copy button works while browsing, and during a copy run only for the run's own text.
bool Fm_Cofferly::CopyButtonUsable(int index) const
{
    return run_ ? run_->button == index : mode_ == Mode::Browsing;
}

void Fm_Cofferly::ApplyMode()
{
    const bool browsing = CurrentMode() == Mode::Browsing;
    const bool editing = mode_ == Mode::Adding || mode_ == Mode::Editing;

    // While a copy run lasts only its own copy button and TOP stay: anything that changed
    // the entry on show, or the list itself, would leave the run with pieces of another
    // text. A sort saved during a mode would move the entry the commit is meant for.
    IComboTitle->setEnabled(browsing);
    Bt_Clip[0]->setEnabled(CopyButtonUsable(0));
    Bt_Clip[1]->setEnabled(CopyButtonUsable(1));
    for (QPushButton* button : {CmdURL, Bt_Add, Bt_Edit, Bt_Del, cmdSort})
        button->setEnabled(browsing);
    for (QLineEdit* box : Tx_Data)
        box->setEnabled(editing);
    for (QPushButton* button : Bt_OK)
        button->setEnabled(editing);

    if (editing) {
        Bt_OK[0]->setText(mode_ == Mode::Adding ? Texts::CommitAddCaption
                                                : Texts::CommitEditCaption);
        SetDefaultButton(Bt_OK[0]);
        cancelButton_ = Bt_OK[1];
        SetOuterHeight(kEditHeight);
    } else {
        SetDefaultButton(Bt_Clip[0]);
        cancelButton_ = nullptr;
        SetOuterHeight(kBrowsingHeight);
    }
}
