#include "main_window/fm_cofferly.h"
#include "platform/desktop.h"
#include "platform/folder_refusal.h"
#include "platform/hardening.h"
#include "resources/texts.h"
#include "store/load_save.h"

#include <QApplication>
#include <QLockFile>
#include <csignal>

int main(int argc, char* argv[])
{
    HardenProcess();
#ifdef SIGXFSZ
    // A file-size limit must fail the write, which is reported, not kill us mid-save.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    Desktop desktop;
    desktop.SetAppTitle(Texts::AppTitle);
    const QString programDirectory = QCoreApplication::applicationDirPath();
    if (RefuseUnsafeFolder(desktop, programDirectory))
        return 1;

    // Two instances over one data file would overwrite each other's saves. The lock is
    // held by process id, so one left behind by a crash is taken over.
    QLockFile lock(AppDir(programDirectory) + Texts::LockFileName);
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0) && lock.error() == QLockFile::LockFailedError) {
        MessageRequest running;
        running.text = Texts::AlreadyRunning.arg(AppDir(programDirectory) + Texts::DataFileName);
        running.title = Texts::MessageTitle;
        running.icon = QMessageBox::Information;
        desktop.Show(nullptr, running);
        return 1;
    }

    Fm_Cofferly window(programDirectory, desktop);
    if (window.Ended())
        return 1;
    window.show();
    return app.exec();
}
