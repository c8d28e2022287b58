#include "main_window/fm_cofferly.h"
#include "platform/desktop.h"
#include "platform/folder_refusal.h"
#include "platform/hardening.h"
#include "platform/instance_lock.h"
#include "platform/platform_choice.h"
#include "resources/texts.h"
#include "store/load_save.h"

#include <QApplication>
#include <csignal>

int main(int argc, char* argv[])
{
    HardenProcess();
#ifdef SIGXFSZ
    // A file-size limit must fail the write, which is reported, not kill us mid-save.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    PlatformChoice::Apply();
    QApplication app(argc, argv);
    Desktop desktop;
    desktop.SetAppTitle(Texts::AppTitle);
    const QString programDirectory = QCoreApplication::applicationDirPath();
    if (RefuseUnsafeFolder(desktop, programDirectory))
        return 1;
    const QString dir = AppDir(programDirectory);

    InstanceLock lock(dir + StoreFiles::Lock);
    if (!lock.Acquire(desktop, dir + StoreFiles::Data))
        return 1;
    // Only now: the temporaries of a save still running in another copy are not leftovers.
    RemoveLeftovers(programDirectory);

    Fm_Cofferly window(programDirectory, desktop);
    if (window.Ended())
        return 1;
    window.show();
    return app.exec();
}
