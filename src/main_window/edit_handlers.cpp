// Add and edit modes, the commit that saves them, deleting an entry and sorting: each
// handler hands its event to the state.
#include "fm_cofferly.h"
#include "platform/screen_capture.h"
#include "sort_window/frm_sort.h"

void Fm_Cofferly::Bt_Add_Click()
{
    Carry(state_.AddClicked());
}

void Fm_Cofferly::Bt_Edit_Click()
{
    Carry(state_.EditClicked(IComboTitle->SelectedIndex()));
}

void Fm_Cofferly::Bt_OK_Click(int index)
{
    Carry(state_.OkClicked(index, IComboTitle->SelectedIndex(), Typed()));
}

void Fm_Cofferly::Bt_Del_Click()
{
    Carry(state_.DeleteClicked(IComboTitle->SelectedIndex()));
}

void Fm_Cofferly::cmdSort_Click()
{
    frmSort sort(Table(), desktop_, this);
    // The sort window shows every ID and PW at once.
    ScreenCapture::Set(&sort, settings_.allowScreenCapture);
    while (sort.exec() == QDialog::Accepted) {
        if (Commit(sort.Rows()))
            break;
        // The save failed and was reported: the sort window comes back with its order.
    }
    Carry(state_.SortClosed());
}

// The close saves once: the window's last position, and the entries as they stand.
void Fm_Cofferly::Form_QueryUnload(bool& Cancel)
{
    keepOpen_ = false;
    Carry(state_.CloseAsked(IComboTitle->SelectedIndex(), Typed()));
    Cancel = keepOpen_;
}

Entry Fm_Cofferly::Typed() const
{
    return {Tx_Data[0]->text(), Tx_Data[1]->text(), Tx_Data[2]->text(), Tx_Data[3]->text()};
}
