#include "platform/desktop.h"
#include "platform/hardening.h"
#include "platform/platform_choice.h"
#include "platform/plugin_paths.h"
#include "platform/qt_japanese.h"
#include "start_up.h"
#include "store/program_file.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // Before anything can create a file or dump core.
    HardenProcess();
    // Before Qt can look for plugins: the folder may be one that others may write.
    const ProgramFile file = LocateProgram();
    KeepPluginsToTheSystem(file.folder);
    const FolderCheck check = CheckProgram(file);
    // Before the application object picks one.
    PlatformChoice::Apply();
    QApplication app(argc, argv);
    LoadQtJapanese();
    Desktop desktop;
    const auto program = StartProgram(desktop, file.folder, check);
    if (!program)
        return 1;
    program->window->show();
    return app.exec();
}
