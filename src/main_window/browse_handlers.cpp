// Picking a title, copying the ID or PW piece by piece, opening the URL and TOP: each
// handler hands its event to the state.
#include "fm_cofferly.h"

void Fm_Cofferly::IComboTitle_Click()
{
    Carry(state_.TitlePicked(IComboTitle->SelectedIndex()));
}

void Fm_Cofferly::Tx_Data_GotFocus(int index)
{
    // The whole text is selected, so the first key typed replaces it.
    Tx_Data[index]->setSelection(0, Tx_Data[index]->text().size());
}

void Fm_Cofferly::Bt_Clip_MouseDown(int index, Qt::MouseButton /*button*/, int shift)
{
    state_.ClipPressed(index, shift);
}

void Fm_Cofferly::Bt_Clip_Click(int index)
{
    Carry(state_.ClipClicked(index));
}

void Fm_Cofferly::CmdURL_Click()
{
    Carry(state_.UrlClicked());
}

void Fm_Cofferly::cmdTop_Click()
{
    state_.TopClicked();
    ApplyState();
}
