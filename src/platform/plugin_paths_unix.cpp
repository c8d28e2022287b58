#include "plugin_paths_os.h"

bool IsSystemPluginPath(const QString& path, const QString& programFolder)
{
    // Qt's own folder and any the user named in QT_PLUGIN_PATH, but nothing in the
    // program's folder, where others may have put files before the check refuses it.
    if (programFolder.isEmpty())
        return true;
    const QString inside = programFolder.endsWith(u'/') ? programFolder : programFolder + u'/';
    return path != programFolder && !path.startsWith(inside);
}
