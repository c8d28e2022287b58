// The 設定 dialog over the main window: what it changes is saved, then applied.
#include "fm_cofferly.h"
#include "settings_dialog.h"

bool Fm_Cofferly::EditSettings()
{
    const auto chosen = ::EditSettings(this, desktop_, session_, settings_);
    if (!chosen)
        return false;
    ApplySettings(*chosen);
    return true;
}
