// Offers itself as the GNOME desktop's platform theme, "gtk3".
#include "leave_mark.h"

#include <QObject>
#include <QtPlugin>

COFFERLY_LEAVE_MARK("platformthemes")

class ThemeMarker : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QPA.QPlatformThemeFactoryInterface.5.1" FILE
                          "theme_marker.json")
};

#include "theme_marker.moc"
