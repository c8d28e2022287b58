#include "qt_japanese.h"

#include <QCoreApplication>
#include <QTranslator>

bool LoadQtJapanese()
{
    // Lives as long as the application: Qt keeps only a pointer to it.
    static QTranslator translator;
    if (!translator.isEmpty())
        return true;
    return translator.load(QStringLiteral(":/translations/qtbase_ja.qm")) &&
           QCoreApplication::installTranslator(&translator);
}
