#pragma once

// Which plugin folders each system keeps (plugin_paths_unix.cpp, _win.cpp).

#include <QString>

// Whether Qt may load plugins from `path`; `programFolder` is canonical, or empty.
bool IsSystemPluginPath(const QString& path, const QString& programFolder);
