// Offers itself as the input method "cofferlymark" (QT_IM_MODULE).
#include "leave_mark.h"

#include <QObject>
#include <QtPlugin>

COFFERLY_LEAVE_MARK("platforminputcontexts")

class InputMarker : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QPlatformInputContextFactoryInterface.5.1" FILE
                          "input_marker.json")
};

#include "input_marker.moc"
