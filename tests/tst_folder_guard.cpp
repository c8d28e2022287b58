// The program's folder before anything is written there: refused when another user could
// write it or owns it or one of the program's files in it, with a message that says what to
// change.
#include "resources/texts.h"
#include "start_up.h"
#include "store/folder_guard.h"
#include "store/program_file.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using Problem = FolderCheck::Problem;

namespace {

constexpr uid_t kNobody = 65534;

bool IsRoot()
{
    return ::geteuid() == 0;
}

bool SetMode(const QString& path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

int ModeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

bool GiveAway(const QString& path)
{
    return ::lchown(QFile::encodeName(path).constData(), kNobody, kNobody) == 0;
}

// A folder as an installation leaves it: the program, its files, a folder of icons.
class Folder {
public:
    Folder()
    {
        QVERIFY(dir_.isValid());
        for (const char* name : {"cofferly", "Cofferly.Dat", "Cofferly.bak", "Cofferly.lock",
                                 "Cofferly.ini", ".hidden"})
            TestFiles::Write(Path(QString::fromLatin1(name)), "x");
        QVERIFY(QDir(dir_.path()).mkdir(u"share"_s));
        QVERIFY(SetMode(dir_.path(), 0700));
    }
    QString Path() const { return dir_.path(); }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QStringList Listing() const
    {
        return QDir(dir_.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

private:
    QTemporaryDir dir_;
};

// The one message shown; an empty one when there was not exactly one.
MessageRequest Refusal(const RecordingDesktop& desktop)
{
    if (desktop.messages.size() != 1)
        return {};
    return desktop.messages.front();
}

} // namespace

class TestFolderGuard : public QObject {
    Q_OBJECT
private slots:
    void aFolderOfAnotherUserIsRefused()
    {
        // Root owns the root folder; root itself needs a folder given away.
        Folder folder;
        const QString path = IsRoot() ? folder.Path() : u"/"_s;
        if (IsRoot())
            QVERIFY(GiveAway(path));
        RecordingDesktop desktop;
        QVERIFY(RefuseUnsafeFolder(desktop, path));
        QCOMPARE(Refusal(desktop).text, Texts::FolderOfAnotherUser.arg(path));
        QCOMPARE(CheckDataFolder(path).problem, Problem::FolderOfAnotherUser);
    }

    // A folder only its owner may write is accepted, readable by others or not, and a link
    // that leads nowhere under a name not the program's is none of its business. One that
    // others may write is refused with the change to make. Nothing in it is touched.
    void aFolderIsRefusedWhenOthersMayWriteIt_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("refused");
        QTest::newRow("0700") << 0700 << false;
        QTest::newRow("0755, readable by others") << 0755 << false;
        QTest::newRow("0500, not even writable by us") << 0500 << false;
        QTest::newRow("group") << 0770 << true;
        QTest::newRow("group, read-only for others") << 0775 << true;
        QTest::newRow("others") << 0707 << true;
        QTest::newRow("group write only") << 0720 << true;
        QTest::newRow("others write only") << 0702 << true;
        QTest::newRow("sticky, like /tmp") << 01777 << true;
    }

    void aFolderIsRefusedWhenOthersMayWriteIt()
    {
        QFETCH(int, mode);
        QFETCH(bool, refused);
        Folder folder;
        QVERIFY(::symlink("nowhere", QFile::encodeName(folder.Path(u"dangling"_s)).constData()) ==
                0);
        QVERIFY(SetMode(folder.Path(), mode));
        const QStringList before = folder.Listing();
        const FolderCheck check = CheckDataFolder(folder.Path());
        RecordingDesktop desktop;
        QCOMPARE(RefuseUnsafeFolder(desktop, folder.Path()), refused);
        QCOMPARE(folder.Listing(), before);
        QVERIFY(SetMode(folder.Path(), 0700));
        if (!refused) {
            QVERIFY(desktop.messages.isEmpty());
            return;
        }
        QCOMPARE(check.problem, Problem::FolderWritableByOthers);
        QCOMPARE(check.path, folder.Path());
        QVERIFY(check.mendable);
        const MessageRequest refusal = Refusal(desktop);
        QCOMPARE(refusal.text, Texts::FolderWritableByOthers.arg(folder.Path()));
        QVERIFY(refusal.text.contains(u"chmod go-w"_s));
        QCOMPARE(refusal.title, Texts::MessageTitle);
        QCOMPARE(refusal.buttons, MessageRequest::Buttons::Ok);
        QCOMPARE(refusal.icon, QMessageBox::Critical);
    }

    // The only fault, in the user's own folder: the start offers to make it private, and
    // after はい goes on with the folder closed to group and others.
    void aFolderOthersMayWriteIsMadePrivateAfterYes_data()
    {
        QTest::addColumn<MessageRequest::Answer>("answer");
        QTest::addColumn<int>("modeAfter");
        QTest::newRow("はい") << MessageRequest::Answer::Yes << 0755;
        QTest::newRow("いいえ") << MessageRequest::Answer::No << 0777;
    }

    void aFolderOthersMayWriteIsMadePrivateAfterYes()
    {
        QFETCH(MessageRequest::Answer, answer);
        QFETCH(int, modeAfter);
        ProgramDir dir;
        QVERIFY(SetMode(dir.path(), 0777));
        RecordingDesktop desktop;
        desktop.answers.push_back(answer);
        const mode_t mask = ::umask(077); // as the program runs
        const auto program = StartProgram(desktop, dir.path());
        ::umask(mask);
        QCOMPARE(program != nullptr, answer == MessageRequest::Answer::Yes);
        QCOMPARE(desktop.messages.size(), 1);
        const MessageRequest& question = desktop.messages.front();
        QCOMPARE(question.text, Texts::MendFolderQuestion.arg(dir.path()));
        QCOMPARE(question.buttons, MessageRequest::Buttons::YesNo);
        QCOMPARE(question.defaultAnswer, MessageRequest::Answer::No);
        QCOMPARE(ModeOf(dir.path()), modeAfter);
        QCOMPARE(QFileInfo::exists(dir.dataPath()), program != nullptr);
    }

    // Folders above, and folders with another fault besides, are explained, never changed.
    void aFolderWithMoreThanOneFaultIsOnlyExplained()
    {
        QTemporaryDir above;
        QVERIFY(above.isValid());
        const QString folder = above.filePath(u"app"_s);
        QVERIFY(QDir().mkdir(folder) && SetMode(folder, 0777) && SetMode(above.path(), 0777));
        QVERIFY(!CheckDataFolder(folder).mendable);
        RecordingDesktop desktop;
        QVERIFY(!StartProgram(desktop, folder));
        QCOMPARE(Refusal(desktop).text, Texts::FolderWritableByOthers.arg(folder));
        QCOMPARE(Refusal(desktop).buttons, MessageRequest::Buttons::Ok);
        QCOMPARE(ModeOf(folder), 0777);
        QCOMPARE(ModeOf(above.path()), 0777);
        QVERIFY(SetMode(folder, 0700));
        QCOMPARE(StartProgram(desktop, folder), nullptr);
        QCOMPARE(desktop.messages.back().text, Texts::UnsafeFolderAbove.arg(above.path()));
        QVERIFY(SetMode(above.path(), 0700));
    }

    // The program file runs as the user at the next start: no one else may change it.
    void aProgramFileOthersMayChangeIsRefused()
    {
        Folder folder;
        const QString program = folder.Path(u"cofferly"_s);
        const std::pair<int, Problem> table[] = {{0755, Problem::None},
                                                 {0777, Problem::ProgramOpenToOthers},
                                                 {0775, Problem::ProgramOpenToOthers}};
        for (const auto& [mode, problem] : table) {
            QVERIFY(SetMode(program, mode));
            QCOMPARE(CheckProgram({program, folder.Path(), true}).problem, problem);
        }
        QVERIFY(SetMode(program, 0755));
        if (IsRoot()) {
            QVERIFY(GiveAway(program));
            QCOMPARE(CheckProgramFile(program).problem, Problem::ProgramOpenToOthers);
        }
        const FolderCheck unshown = CheckProgram({program, folder.Path(), false});
        QCOMPARE(unshown.problem, Problem::NameNotShown);
        RecordingDesktop desktop;
        QVERIFY(!StartProgram(desktop, folder.Path(), unshown));
        QCOMPARE(Refusal(desktop).text, Texts::NameNotShown.arg(folder.Path()));
        QCOMPARE(LocateProgram().path, QCoreApplication::applicationFilePath());
        QVERIFY(LocateProgram().nameShown);
    }

    // Only the program's own files count: another user's file beside them, or a link to
    // one, is none of the program's business.
    void otherFilesOfAnotherUserAreAccepted_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("a README") << u"README"_s;
        QTest::newRow("the program") << u"cofferly"_s;
        QTest::newRow("a hidden file") << u".hidden"_s;
        QTest::newRow("a folder in it") << u"share"_s;
        QTest::newRow("a name close to the data file's") << u"Cofferly.Dat.old"_s;
    }

    void otherFilesOfAnotherUserAreAccepted()
    {
        QFETCH(QString, name);
        Folder folder;
        const QString path = folder.Path(name);
        if (IsRoot()) {
            if (!QFileInfo::exists(path))
                TestFiles::Write(path, "x");
            QVERIFY(GiveAway(path));
        } else {
            // Without root, a link to root's file stands in for a file of another user.
            QDir(path).removeRecursively();
            QFile::remove(path);
            QVERIFY(QFile::link(u"/etc/passwd"_s, path));
        }
        const QStringList before = folder.Listing();
        RecordingDesktop desktop;
        QVERIFY(!RefuseUnsafeFolder(desktop, folder.Path()));
        QVERIFY(desktop.messages.isEmpty());
        QCOMPARE(folder.Listing(), before);
    }

    // Each file of the program's: another user's, or a link to one of theirs (the backup
    // linked to another user's .bashrc had the next save write there), or a link that leads
    // nowhere (a save would create the file where it points) is refused and named.
    void aProgramFileNotSafelyOursIsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Problem>("problem");
        const std::pair<Problem, const char*> problems[] = {
            {Problem::FileOfAnotherUser, "another user's"},
            {Problem::LinkToAnotherUsersFile, "a link to another user's file"},
            {Problem::LinkLeadsNowhere, "a link that leads nowhere"}};
        for (const char* name : {"Cofferly.Dat", "Cofferly.bak", "Cofferly.lock", "Cofferly.ini"})
            for (const auto& [problem, what] : problems)
                QTest::addRow("%s, %s", name, what) << QString::fromLatin1(name) << problem;
    }

    void aProgramFileNotSafelyOursIsRefused()
    {
        QFETCH(QString, name);
        QFETCH(Problem, problem);
        if (problem == Problem::FileOfAnotherUser && !IsRoot())
            QSKIP("only root can give a file to another user");
        QTemporaryDir elsewhere;
        QVERIFY(elsewhere.isValid());
        QString target = problem == Problem::LinkLeadsNowhere ? elsewhere.filePath(u"not-yet"_s)
                                                              : u"/etc/passwd"_s;
        const QByteArray bashrc = "alias ls='ls --color'\n";
        if (problem == Problem::LinkToAnotherUsersFile && IsRoot()) {
            target = elsewhere.filePath(u".bashrc"_s);
            TestFiles::Write(target, bashrc);
            QVERIFY(GiveAway(target));
        }
        Folder folder;
        const QString path = folder.Path(name);
        if (problem == Problem::FileOfAnotherUser)
            QVERIFY(GiveAway(path));
        else
            QVERIFY(QFile::remove(path) && QFile::link(target, path));
        const QStringList before = folder.Listing();
        const FolderCheck check = CheckDataFolder(folder.Path());
        QCOMPARE(check.problem, problem);
        QCOMPARE(check.path, path);
        RecordingDesktop desktop;
        QVERIFY(RefuseUnsafeFolder(desktop, folder.Path()));
        const QString text = Refusal(desktop).text;
        QCOMPARE(folder.Listing(), before);
        if (problem == Problem::FileOfAnotherUser) {
            QCOMPARE(text, Texts::FileOfAnotherUser.arg(path));
            QVERIFY(text.contains(u"chown"_s));
            return;
        }
        QCOMPARE(check.target, target);
        if (problem == Problem::LinkLeadsNowhere) {
            QCOMPARE(text, Texts::LinkLeadsNowhere.arg(path, target));
            QVERIFY(!QFileInfo::exists(target));
            return;
        }
        QCOMPARE(text, Texts::LinkToAnotherUsersFile.arg(path, target));
        if (IsRoot())
            QCOMPARE(TestFiles::Read(target), bashrc);
    }

    // Links of ours to files of ours, even outside the folder, are accepted; but the file a
    // link leads to is replaced in its own folder, which must be as private as the program's.
    void aLinkIsAcceptedWhereItsFolderIsPrivate_data()
    {
        QTest::addColumn<int>("targetFolderMode");
        QTest::newRow("private") << 0700;
        QTest::newRow("others may write") << 0777;
    }
    void aLinkIsAcceptedWhereItsFolderIsPrivate()
    {
        QFETCH(int, targetFolderMode);
        QTemporaryDir elsewhere;
        QVERIFY(elsewhere.isValid());
        const QString target = elsewhere.filePath(u"mine.Dat"_s);
        TestFiles::Write(target, "x");
        Folder folder;
        const QString link = folder.Path(u"Cofferly.Dat"_s);
        QVERIFY(QFile::remove(link) && QFile::link(target, link));
        QVERIFY(SetMode(elsewhere.path(), targetFolderMode));
        const FolderCheck check = CheckDataFolder(folder.Path());
        RecordingDesktop desktop;
        const bool refused = RefuseUnsafeFolder(desktop, folder.Path());
        QVERIFY(SetMode(elsewhere.path(), 0700));
        if (targetFolderMode == 0700) {
            QVERIFY(!refused && desktop.messages.isEmpty());
            return;
        }
        QVERIFY(refused);
        QCOMPARE(check.problem, Problem::FolderWritableByOthers);
        QCOMPARE(check.path, elsewhere.path());
        QVERIFY(!check.mendable);
    }

    // A link of another user's is refused as theirs even when it leads to a file of ours.
    void aLinkOfAnotherUserIsRefused()
    {
        if (!IsRoot())
            QSKIP("only root can give a link to another user");
        Folder folder;
        const QString link = folder.Path(u"Cofferly.bak"_s);
        QVERIFY(QFile::remove(link));
        QVERIFY(QFile::link(folder.Path(u"Cofferly.Dat"_s), link));
        QVERIFY(GiveAway(link));
        const FolderCheck check = CheckDataFolder(folder.Path());
        QCOMPARE(check.problem, Problem::FileOfAnotherUser);
        QCOMPARE(check.path, link);
    }

    // Whoever may rename a folder above the program's can put a folder of theirs in its
    // place; a sticky one, like /tmp, lets no one rename what is not theirs.
    void aFolderAboveThatOthersMayChangeIsRefused()
    {
        QTemporaryDir above;
        QVERIFY(above.isValid());
        const QString folder = above.filePath(u"app"_s);
        QVERIFY(QDir().mkdir(folder) && SetMode(folder, 0700) && SetMode(above.path(), 0777));
        RecordingDesktop desktop;
        QVERIFY(RefuseUnsafeFolder(desktop, folder));
        QCOMPARE(Refusal(desktop).text, Texts::UnsafeFolderAbove.arg(above.path()));
        QVERIFY(SetMode(above.path(), 01777));
        QVERIFY(!CheckDataFolder(folder).Refused());
        if (IsRoot()) { // a folder above of another user's
            QVERIFY(SetMode(above.path(), 0755) && GiveAway(above.path()));
            QCOMPARE(CheckDataFolder(folder).problem, Problem::UnsafeFolderAbove);
        }
    }

    // Files copied in readable by others are made the owner's alone, and the user is told
    // once; files strict enough, and other files, are left as they are.
    void loosePermissionsAreTightenedOnce()
    {
        Folder folder;
        const std::tuple<QString, int, int> table[] = {{u"Cofferly.Dat"_s, 0644, 0600},
                                                       {u"Cofferly.bak"_s, 0400, 0400},
                                                       {u"Cofferly.lock"_s, 0660, 0600},
                                                       {u"Cofferly.ini"_s, 0604, 0600},
                                                       {u"cofferly"_s, 0755, 0755}};
        for (const auto& [name, before, after] : table)
            QVERIFY(SetMode(folder.Path(name), before));
        RecordingDesktop desktop;
        QVERIFY(TightenFileModesAndTell(desktop, folder.Path()));
        QVERIFY(TightenFileModesAndTell(desktop, folder.Path()));
        QCOMPARE(Refusal(desktop).text,
                 Texts::ModesTightened.arg(folder.Path(u"Cofferly.Dat"_s) + u'\n' +
                                           folder.Path(u"Cofferly.lock"_s) + u'\n' +
                                           folder.Path(u"Cofferly.ini"_s)));
        for (const auto& [name, before, after] : table)
            QCOMPARE(ModeOf(folder.Path(name)), after);
    }

    // A second name of the data file would keep the old passwords after a save, and one of
    // the settings file its old settings; a lock that is a pipe would block the start for
    // ever if it were opened.
    void aHardLinkOrALockThatIsNoFileIsRefused()
    {
        Folder folder;
        for (const QString& name : {u"Cofferly.Dat"_s, u"Cofferly.ini"_s}) {
            QVERIFY(::link(QFile::encodeName(folder.Path(name)).constData(),
                           QFile::encodeName(folder.Path(u"elsewhere"_s)).constData()) == 0);
            RecordingDesktop desktop;
            QVERIFY(RefuseUnsafeFolder(desktop, folder.Path()));
            QCOMPARE(Refusal(desktop).text, Texts::HardLinked.arg(folder.Path(name)));
            QVERIFY(QFile::remove(folder.Path(u"elsewhere"_s)));
        }

        const QString lock = folder.Path(u"Cofferly.lock"_s);
        QVERIFY(QFile::remove(lock));
        QVERIFY(::mkfifo(QFile::encodeName(lock).constData(), 0600) == 0);
        RecordingDesktop fifo;
        QVERIFY(RefuseUnsafeFolder(fifo, folder.Path()));
        QCOMPARE(Refusal(fifo).text, Texts::LockNotRegular.arg(lock));
    }

    void aFolderThatCannotBeExaminedIsRefused()
    {
        Folder folder;
        const QString missing = folder.Path(u"gone"_s);
        RecordingDesktop desktop;
        QVERIFY(RefuseUnsafeFolder(desktop, missing));
        QCOMPARE(Refusal(desktop).text,
                 Texts::FolderNotExamined.arg(missing, qt_error_string(ENOENT)));
        if (IsRoot())
            return; // root lists any folder
        QVERIFY(SetMode(folder.Path(), 0300));
        const FolderCheck unreadable = CheckDataFolder(folder.Path());
        QVERIFY(SetMode(folder.Path(), 0700));
        QCOMPARE(unreadable.problem, Problem::CannotExamine);
        QCOMPARE(unreadable.systemError, EACCES);
    }
};

QTEST_MAIN(TestFolderGuard)
#include "tst_folder_guard.moc"
