#include "settings_dialog.h"

// The windows are kept out of screen captures unless the user allows them in.
bool SettingsDialog::OffersScreenCapture()
{
    return true;
}
