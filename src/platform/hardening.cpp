#include "hardening.h"

#include "hardening_os.h"

void HardenProcess()
{
    // Once only: a second run would take the mask the first one set for the user's own.
    static bool hardened = false;
    if (hardened)
        return;
    hardened = true;
    HardenThisSystem();
}
