// What the store finds in a program directory before the first load: which of the two
// files are there, the backup put back in the data file's place, the temporaries an
// interrupted save leaves, and the settings file, read and rewritten. Real files in a
// program directory of their own.
#include "store/data_folder.h"
#include "store/instance_lock.h"
#include "store/recovery.h"
#include "store/settings_file.h"
#include "support/system_files.h"
#include "support/test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using Cause = StoreError::Cause;
Q_DECLARE_METATYPE(Settings)

namespace {

// This computer's name with every letter's case turned, as Wine and Windows may write it.
QString OtherCase(const QString& name)
{
    QString turned = name;
    for (QChar& c : turned)
        c = c.isUpper() ? c.toLower() : c.toUpper();
    return turned;
}

QStringList Sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

class TestStartFiles : public QObject {
    Q_OBJECT
private slots:
    // ---- the lock ----------------------------------------------------------------

    // A lock nobody holds is taken over without a word unless another computer wrote it;
    // names differing only in case are this computer's. One a running copy holds is not.
    void lockLeftBehindIsJudgedByItsComputer_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<InstanceLock::Outcome>("outcome");
        const QByteArray host = QSysInfo::machineHostName().toUtf8();
        const QByteArray turned = OtherCase(QSysInfo::machineHostName()).toUtf8();
        using O = InstanceLock::Outcome;
        QTest::newRow("stale, this computer") << "999999\ncofferly\n" + host + '\n' << O::Held;
        QTest::newRow("this computer, other case") << "4242\ncofferly\n" + turned + '\n' << O::Held;
        QTest::newRow("another computer")
            << QByteArray("4242\ncofferly\nother-pc-7\n") << O::OtherHost;
        QTest::newRow("none yet") << QByteArray() << O::Held;
        QTest::newRow("garbled") << QByteArray("x\x01\xff\n") << O::Held;
    }
    void lockLeftBehindIsJudgedByItsComputer()
    {
        QFETCH(QByteArray, text);
        QFETCH(InstanceLock::Outcome, outcome);
        ProgramDir dir;
        const QString path = dir.path() + u"/Cofferly.lock"_s;
        if (!text.isEmpty())
            TestFiles::Write(path, text);
        {
            InstanceLock lock(path);
            QCOMPARE(lock.Acquire(), outcome);
            if (outcome == InstanceLock::Outcome::OtherHost) {
                QCOMPARE(lock.OtherHost(), u"other-pc-7"_s);
                QCOMPARE(TestFiles::Read(path), text);
                QCOMPARE(lock.Acquire(true), InstanceLock::Outcome::Held);
            }
            QCOMPARE(InstanceLock::HostOf(TestFiles::Read(path)), QSysInfo::machineHostName());
            if (text.isEmpty()) // created here: its owner's alone from the start
                QVERIFY(SystemFiles::OwnerOnly(path));
            InstanceLock second(path);
            QCOMPARE(second.Acquire(true), InstanceLock::Outcome::OtherCopy);
        }
        QVERIFY(!QFileInfo::exists(path));
    }

    // ---- the backup alone ----------------------------------------------------------

    void findsWhichFilesThereAre()
    {
        ProgramDir dir;
        QCOMPARE(FindDataFiles(dir.path()), StartFiles::Neither);
        TestFiles::Write(dir.backupPath(), "b");
        QCOMPARE(FindDataFiles(dir.path()), StartFiles::BackupOnly);
        dir.writeData("d");
        QCOMPARE(FindDataFiles(dir.path()), StartFiles::DataFile);
        QVERIFY(QFile::remove(dir.backupPath()));
        QCOMPARE(FindDataFiles(dir.path()), StartFiles::DataFile);
    }

    void restoreWritesTheBackupsBytes()
    {
        ProgramDir dir;
        // A hand-edited shape: the bytes are put back as they are, not rewritten.
        const QByteArray backup("15,30\n\"t\",\"i\",\"p\",\"a\"\n");
        TestFiles::Write(dir.backupPath(), backup);
        QVERIFY(!RestoreBackup(dir.path()));
        QCOMPARE(dir.data(), backup);
        QCOMPARE(dir.backup(), backup);
        QCOMPARE(FindDataFiles(dir.path()), StartFiles::DataFile);
        QVERIFY(SystemFiles::OwnerOnly(dir.dataPath()));
    }

    void backupThatDoesNotReadWholeIsNotRestored_data()
    {
        QTest::addColumn<QByteArray>("backup");
        QTest::addColumn<Cause>("cause");
        QTest::newRow("cut") << QByteArray("0,0\r\n\"t\"\r\n\"i\"\r\n") << Cause::Damaged;
        QTest::newRow("empty") << QByteArray("") << Cause::Damaged;
        QTest::newRow("text after a quote")
            << QByteArray("0,0\r\n\"t\"x\r\n\"\"\r\n\"\"\r\n\"\"\r\n") << Cause::Damaged;
        QTest::newRow("not code page 932") << QByteArray("0,0\r\n\"\x85\x40\"") << Cause::Damaged;
        QTest::newRow("missing") << QByteArray() << Cause::System;
    }
    void backupThatDoesNotReadWholeIsNotRestored()
    {
        QFETCH(QByteArray, backup);
        QFETCH(Cause, cause);
        ProgramDir dir;
        if (cause != Cause::System)
            TestFiles::Write(dir.backupPath(), backup);
        const auto error = RestoreBackup(dir.path());
        QVERIFY(error);
        QCOMPARE(error->cause, cause);
        QCOMPARE(error->path, dir.backupPath());
        QVERIFY(!QFileInfo::exists(dir.dataPath()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), cause == Cause::System ? 0 : 1);
    }

    // ---- a data file an editor saved as UTF-8 ---------------------------------------

    void editorsUtf8IsRecognised_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("converted"); // empty: not recognised
        const QList<QStringList> entries = {{u"銀行"_s, u"ｶﾀｶﾅ-ＩＤ"_s, u"№①㈱"_s, u""_s}};
        const QByteArray cp932 = TestFiles::Make(15, 30, entries);
        const QByteArray asUtf8 = QByteArray("15,30\r\n\"銀行\"\r\n\"ｶﾀｶﾅ-ＩＤ\"\r\n"
                                             "\"№①㈱\"\r\n\"\"\r\n");
        QTest::newRow("UTF-8") << asUtf8 << cp932;
        QTest::newRow("UTF-8 with the mark") << QByteArray("\xEF\xBB\xBF") + asUtf8 << cp932;
        QTest::newRow("code page 932") << cp932 << QByteArray();
        QTest::newRow("plain ASCII") << QByteArray("0,0\r\n\"t\"x\r\n") << QByteArray();
        QTest::newRow("a character code page 932 lacks")
            << QByteArray("0,0\r\n\"\xF0\x9F\x94\x91\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n")
            << QByteArray();
        QTest::newRow("wave dash, which comes back another")
            << QByteArray("0,0\r\n\"\xE3\x80\x9C\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n") << QByteArray();
        QTest::newRow("UTF-8 cut inside an entry")
            << asUtf8.left(asUtf8.size() - 8) << QByteArray();
        QTest::newRow("not UTF-8") << QByteArray("0,0\r\n\"\xE9\x8A\"\r\n") << QByteArray();
    }
    void editorsUtf8IsRecognised()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, converted);
        const auto result = FromEditorUtf8(file);
        QCOMPARE(result.value_or(QByteArray()), converted);
    }

    // ---- leftovers -----------------------------------------------------------------

    void removesOnlyTheTemporariesOfASave()
    {
        ProgramDir dir;
        const QDir here(dir.path());
        const QStringList temporaries = {u"Cofferly.Dat.a1B2c3"_s, u"Cofferly.bak.XYZ789"_s,
                                         u"Cofferly.Dat.000000"_s, u"Cofferly.ini.Q1w2E3"_s};
        const QStringList others = {
            u"Cofferly.Dat"_s,         u"Cofferly.bak"_s,      u"Cofferly.lock"_s,
            u"Cofferly.ini"_s,         u"Cofferly.ini.old"_s,  u"Cofferly.Dat.12345"_s,
            u"Cofferly.Dat.ABCDEFG"_s, u"Cofferly.Dat.bak1"_s, u"cofferly.dat.abcdef"_s,
            u"Cofferly.Dat.ab-123"_s,  u"notes.txt"_s};
        for (const QString& name : temporaries + others)
            TestFiles::Write(here.filePath(name), "secret");
        QVERIFY(here.mkdir(u"Cofferly.Dat.dir123"_s));
        TestFiles::Write(here.filePath(u"Cofferly.Dat.dir123/inside"_s), "kept");
        const QStringList link = {u"Cofferly.bak.lnk456"_s};
        const bool linked = SystemFiles::HasUnixFiles();
        QVERIFY(!linked ||
                SystemFiles::Link(here.filePath(u"notes.txt"_s), here.filePath(link[0])));

        QCOMPARE(Sorted(RemoveLeftovers(dir.path())), Sorted(temporaries));
        QCOMPARE(Sorted(here.entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                       QDir::NoDotAndDotDot)),
                 Sorted(others + QStringList{u"Cofferly.Dat.dir123"_s} +
                        (linked ? link : QStringList{})));
        QCOMPARE(TestFiles::Read(here.filePath(u"notes.txt"_s)), QByteArray("secret"));
        QCOMPARE(TestFiles::Read(here.filePath(u"Cofferly.Dat.dir123/inside"_s)),
                 QByteArray("kept"));
        QVERIFY(RemoveLeftovers(dir.path()).isEmpty());
    }

    // ---- the settings file -----------------------------------------------------------

    // Reading: a value that cannot be read, or lies out of range, is its key's default; so
    // are both in a file that is no settings file, which is never written over. A change
    // rewrites only the value changed, or adds it; every other byte stays. Nothing is
    // written when no value differs, and the data file is never touched.
    void settingsFileIsReadAndRewritten_data()
    {
        QTest::addColumn<QByteArray>("before"); // empty: none
        QTest::addColumn<Settings>("read");
        QTest::addColumn<Settings>("written");
        QTest::addColumn<QByteArray>("after"); // empty: refused
        const QByteArray mine = "; mine\r\n[Clipboard]\r\nFoo=1\r\nClearAfterSeconds = 30\r\n"
                                "\r\n[Other]\r\nx=y\r\n";
        const QByteArray cased = "\xEF\xBB\xBF [clipboard] \n clearafterseconds = 3600 \n"
                                 "[WINDOW]\nallowscreencapture=False\n";
        const QByteArray bad =
            "[Clipboard]\nClearAfterSeconds=ten\n[Window]\nAllowScreenCapture=yes";
        const QByteArray elsewhere = "ClearAfterSeconds=1\n[Other]\nClearAfterSeconds=2\n"
                                     "[Clipboard]\n;ClearAfterSeconds=3\nA=1\n\n; end\n";
        const QByteArray twice = "[Clipboard]\nClearAfterSeconds=5\nClearAfterSeconds=6\n";
        const QByteArray both = "[Clipboard]\nClearAfterSeconds=12\n";
        QTest::newRow("none") << QByteArray() << Settings{} << Settings{10, false}
                              << QByteArray("[Clipboard]\nClearAfterSeconds=10\n");
        QTest::newRow("CR LF, comments, unknown keys") << mine << Settings{} << Settings{45, false}
                                                       << QByteArray(mine).replace("= 30", "= 45");
        QTest::newRow("other case, blanks, byte order mark")
            << cased << Settings{3600, false} << Settings{3600, true}
            << QByteArray(cased).replace("=False", "=true");
        QTest::newRow("bad values")
            << bad << Settings{} << Settings{0, false} << QByteArray(bad).replace("ten", "0");
        QTest::newRow("out of range, unchanged")
            << QByteArray("[Clipboard]\nClearAfterSeconds=3601\n") << Settings{} << Settings{}
            << QByteArray("[Clipboard]\nClearAfterSeconds=3601\n");
        QTest::newRow("negative") << QByteArray("[Clipboard]\nClearAfterSeconds=-1\n") << Settings{}
                                  << Settings{}
                                  << QByteArray("[Clipboard]\nClearAfterSeconds=-1\n");
        QTest::newRow("outside the section, commented out")
            << elsewhere << Settings{} << Settings{7, false}
            << QByteArray(elsewhere).replace("A=1\n", "A=1\nClearAfterSeconds=7\n");
        QTest::newRow("the first of two, no final line end")
            << twice.chopped(1) << Settings{5, false} << Settings{5, true}
            << twice + "\n[Window]\nAllowScreenCapture=true\n";
        const QByteArray lock =
            "[Clipboard]\nClearAfterSeconds=30\n[Security]\nLockAfterMinutes=15\n";
        QTest::newRow("lock after minutes")
            << lock << Settings{30, false, 15} << Settings{30, false, 1440}
            << QByteArray(lock).replace("=15", "=1440");
        QTest::newRow("lock after minutes out of range")
            << QByteArray("[Security]\nLockAfterMinutes=1441\n") << Settings{} << Settings{}
            << QByteArray("[Security]\nLockAfterMinutes=1441\n");
        QTest::newRow("not UTF-8") << both + "; \x82\xa0\n"
                                   << Settings{} << Settings{1, true} << QByteArray();
        QTest::newRow("a NUL") << both + QByteArray("\0", 1) << Settings{} << Settings{1, true}
                               << QByteArray();
        QTest::newRow("over 64 KiB") << both + "; " + QByteArray(64 << 10, 'x') << Settings{}
                                     << Settings{1, true} << QByteArray();
    }
    void settingsFileIsReadAndRewritten()
    {
        QFETCH(QByteArray, before);
        QFETCH(Settings, written);
        QFETCH(QByteArray, after);
        const QByteArray data = TestFiles::Make(0, 0, TestFiles::NumberedEntries(1));
        ProgramDir dir(data);
        const QString path = SettingsFile::Path(dir.path());
        if (!before.isEmpty())
            TestFiles::Write(path, before);
        const quint64 identity = SystemFiles::Identity(path);
        const quint64 dataIdentity = SystemFiles::Identity(dir.dataPath());
        QTEST(SettingsFile::Read(dir.path()), "read");
        const auto pin = PinFolder(dir.path());
        QVERIFY(As<FolderPin>(pin));
        const auto error = SettingsFile::Write(dir.path(), *As<FolderPin>(pin), written);
        QCOMPARE(error.has_value(), after.isEmpty());
        if (error)
            QCOMPARE(error->cause, Cause::NotSettings);
        QCOMPARE(TestFiles::Read(path), error ? before : after);
        QCOMPARE(SystemFiles::Identity(path) == identity, error || before == after);
        if (!error)
            QCOMPARE(SettingsFile::Read(dir.path()), written);
        QVERIFY(error || after == before || SystemFiles::OwnerOnly(path));
        QCOMPARE(dir.data(), data);
        QCOMPARE(SystemFiles::Identity(dir.dataPath()), dataIdentity);
    }

    // A link put in the settings file's place since the start is not written through; one
    // there at the start is, as the data file's is.
    void settingsFollowOnlyALinkThereAtTheStart()
    {
        if (!SystemFiles::HasUnixFiles())
            QSKIP("the system's file calls follow no link");
        ProgramDir dir("0,0\r\n");
        const QString path = SettingsFile::Path(dir.path()), target = dir.path() + u"/mine"_s;
        const auto pin = PinFolder(dir.path());
        TestFiles::Write(target, "[Clipboard]\n");
        QVERIFY(As<FolderPin>(pin) && SystemFiles::Link(target, path));
        const auto error = SettingsFile::Write(dir.path(), *As<FolderPin>(pin), {5, false});
        QCOMPARE(error ? error->cause : Cause::System, Cause::LinkPutInPlace);
        QCOMPARE(TestFiles::Read(target), QByteArray("[Clipboard]\n"));
        QVERIFY(
            !SettingsFile::Write(dir.path(), *As<FolderPin>(PinFolder(dir.path())), {5, false}));
        QCOMPARE(TestFiles::Read(target), QByteArray("[Clipboard]\nClearAfterSeconds=5\n"));
        QVERIFY(QFileInfo(path).isSymLink());
    }
};

QTEST_GUILESS_MAIN(TestStartFiles)
#include "tst_start_files.moc"
