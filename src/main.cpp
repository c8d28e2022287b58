#include "platform/desktop.h"
#include "platform/hardening.h"
#include "platform/platform_choice.h"
#include "platform/qt_japanese.h"
#include "start_up.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // Before anything can create a file or dump core.
    HardenProcess();
    // Before the application object picks one.
    PlatformChoice::Apply();
    QApplication app(argc, argv);
    LoadQtJapanese();
    Desktop desktop;
    const auto program = StartProgram(desktop, QCoreApplication::applicationDirPath());
    if (!program)
        return 1;
    program->window->show();
    return app.exec();
}
