// The one place that shows the window's state in its controls.
#include "fm_cofferly.h"
#include "platform/stays_on_top.h"
#include "resources/texts.h"

namespace {

const QColor kLampNormal(128, 128, 0);
const QColor kLampOnTop(255, 255, 0);

} // namespace

void Fm_Cofferly::ApplyState()
{
    using Control = MainWindowState::Control;
    const std::pair<Control, QWidget*> controls[] = {
        {Control::IComboTitle, IComboTitle}, {Control::Bt_Clip0, Bt_Clip[0]},
        {Control::Bt_Clip1, Bt_Clip[1]},     {Control::CmdURL, CmdURL},
        {Control::Bt_Add, Bt_Add},           {Control::Bt_Edit, Bt_Edit},
        {Control::Bt_Del, Bt_Del},           {Control::cmdSort, cmdSort},
        {Control::Tx_Data, Tx_Data[0]},      {Control::Tx_Data, Tx_Data[1]},
        {Control::Tx_Data, Tx_Data[2]},      {Control::Tx_Data, Tx_Data[3]},
        {Control::Bt_OK0, Bt_OK[0]},         {Control::Bt_OK1, Bt_OK[1]}};
    for (const auto& [control, widget] : controls)
        widget->setEnabled(state_.Usable(control));

    if (state_.CurrentMode() != Mode::Browsing)
        Bt_OK[0]->setText(state_.CurrentMode() == Mode::Adding ? Texts::CommitAddCaption
                                                               : Texts::CommitEditCaption);
    SetDefaultButton(ButtonOf(state_.DefaultButton()));
    SetOuterHeight(state_.PanelOpen() ? kEditHeight : kBrowsingHeight);
    ApplyMenuState();

    // The lamp always shows whether the window stays on top.
    if (onTop_ != state_.OnTop()) {
        onTop_ = state_.OnTop();
        Shape2->SetFillColor(*onTop_ ? kLampOnTop : kLampNormal);
        StaysOnTop::Set(this, *onTop_);
    }
}

QPushButton* Fm_Cofferly::ButtonOf(MainWindowState::Control control) const
{
    using Control = MainWindowState::Control;
    switch (control) {
    case Control::Bt_Clip0:
        return Bt_Clip[0];
    case Control::Bt_Clip1:
        return Bt_Clip[1];
    case Control::CmdURL:
        return CmdURL;
    case Control::Bt_Add:
        return Bt_Add;
    case Control::Bt_Edit:
        return Bt_Edit;
    case Control::Bt_Del:
        return Bt_Del;
    case Control::cmdSort:
        return cmdSort;
    case Control::Bt_OK0:
        return Bt_OK[0];
    case Control::Bt_OK1:
        return Bt_OK[1];
    default:
        return nullptr;
    }
}

void Fm_Cofferly::SetDefaultButton(QPushButton* button)
{
    if (defaultButton_)
        defaultButton_->setDefault(false);
    defaultButton_ = button;
    button->setDefault(true);
}
