#include "plugin_paths.h"
#include "plugin_paths_os.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

void KeepPluginsToTheSystem(const QString& programFolder)
{
    // Qt adds the program's folder when the application object is built, on top of any
    // list set before; of its own earlier list it drops what the list set leaves out. So
    // the folder first goes into that earlier list, which Qt reads from QT_PLUGIN_PATH once,
    // and then out of the list set.
    const QString folder = QDir(programFolder).canonicalPath();
    const bool hadVariable = qEnvironmentVariableIsSet("QT_PLUGIN_PATH");
    const QByteArray variable = qgetenv("QT_PLUGIN_PATH");
    if (!folder.isEmpty())
        qputenv("QT_PLUGIN_PATH", QFile::encodeName(folder) +
                                      QByteArray(1, char(QDir::listSeparator().toLatin1())) +
                                      variable);
    const QStringList paths = QCoreApplication::libraryPaths();
    if (hadVariable)
        qputenv("QT_PLUGIN_PATH", variable);
    else
        qunsetenv("QT_PLUGIN_PATH");
    QStringList kept;
    for (const QString& path : paths)
        if (IsSystemPluginPath(path, folder))
            kept << path;
    QCoreApplication::setLibraryPaths(kept);
}
