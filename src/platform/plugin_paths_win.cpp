#include "plugin_paths_os.h"

bool IsSystemPluginPath(const QString&, const QString&)
{
    // Cofferly.exe holds every plugin it uses; a folder of plugins beside it, or anywhere
    // else, has nothing to add but code of someone else's.
    return false;
}
