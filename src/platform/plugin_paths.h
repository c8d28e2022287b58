#pragma once

#include <QString>

// Called in main() before anything asks Qt for its plugin folders, and before the
// application object is built: Qt looks for plugins (platform themes, input methods) in
// the program's own folder too, and loads them while the application object is built,
// before the folder can be checked. Afterwards Qt searches only the system's folders: none
// in `programFolder` or below it, and none named by a qt.conf beside the program.
void KeepPluginsToTheSystem(const QString& programFolder);
