// The process after HardenProcess: what it creates is its owner's alone, it leaves no core
// and no other process of the user may read its memory.
#include "platform/hardening.h"
#include "platform/plugin_paths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

mode_t ModeOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return mode_t(-1);
    return info.st_mode & 07777;
}

// Runs `check` in a child process of its own and gives its exit code.
template <typename Check> int InChild(Check check)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(check());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

class TestHardening : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // As a usual session starts the program.
        ::umask(022);
        HardenProcess();
    }

    void createdFilesAndFoldersAreTheOwnersAlone()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile plain(dir.filePath(u"plain"_s));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QCOMPARE(ModeOf(plain.fileName()), mode_t(0600));

        // What the saves use: a temporary file renamed into place.
        QSaveFile saved(dir.filePath(u"saved"_s));
        QVERIFY(saved.open(QIODevice::WriteOnly));
        saved.write("x");
        QVERIFY(saved.commit());
        QCOMPARE(ModeOf(saved.fileName()), mode_t(0600));

        QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
        QCOMPARE(ModeOf(dir.filePath(u"folder"_s)), mode_t(0700));
    }

    void noCoreAndNoAttaching()
    {
        rlimit core{};
        QCOMPARE(::getrlimit(RLIMIT_CORE, &core), 0);
        QCOMPARE(core.rlim_cur, rlim_t(0));
        QCOMPARE(core.rlim_max, rlim_t(0));
        QCOMPARE(::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), 0);
    }

    // Set before the application object, as main() does: Qt added the program's folder
    // while the object was built, and then took it out again.
    void pluginsComeFromTheSystemOnly()
    {
        const QStringList paths = QCoreApplication::libraryPaths();
        QVERIFY(!paths.contains(QCoreApplication::applicationDirPath()));
        QVERIFY(
            paths.contains(QDir(QLibraryInfo::path(QLibraryInfo::PluginsPath)).canonicalPath()));
        QVERIFY(!qEnvironmentVariableIsSet("QT_PLUGIN_PATH"));
    }

    // Only programs started to open something get the starting mask back, not the process.
    void theChildMaskIsTheStartingOne()
    {
        const int code = InChild([] {
            RestoreChildFileMask();
            return ::umask(0) == 022 ? 0 : 1;
        });
        QCOMPARE(code, 0);
        const mode_t ours = ::umask(077);
        QCOMPARE(ours, mode_t(077));
    }
};

int main(int argc, char* argv[])
{
    // A folder of its own under the build's, as the program's beside it would be searched.
    KeepPluginsToTheSystem(QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath());
    QApplication app(argc, argv);
    TestHardening test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_hardening.moc"
