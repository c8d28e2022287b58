#include "settings_dialog.h"

// No X11 or Wayland call keeps a window out of what a capture program reads.
bool SettingsDialog::OffersScreenCapture()
{
    return false;
}
