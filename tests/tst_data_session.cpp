// The data session against real files in a program directory of its own: each save
// passes on what the one before wrote, the backup follows changes of entries, another
// program's version is kept, and a failed save changes nothing.
#include "store/data_folder.h"
#include "store/data_session.h"
#include "store/save_plan.h"
#include "support/system_files.h"
#include "support/test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using Cause = StoreError::Cause;
using SaveReport = DataSession::SaveReport;
Q_DECLARE_METATYPE(SavePlan)

namespace {

QByteArray Formatted(DataFile::Position position, const Entries& entries)
{
    return DataFile::Format(position, entries).value_or("not storable");
}

} // namespace

class TestDataSession : public QObject {
    Q_OBJECT
private slots:
    void saveBacksUpTheDataFileAndWritesTheEntries()
    {
        const QByteArray before = TestFiles::Make(0, 0, TestFiles::NumberedEntries(3));
        ProgramDir dir(before);
        auto session = OpenedSession(dir.path());
        QVERIFY(session);
        Entries entries = session->Table();
        entries[1].title = u"Renamed"_s;
        const auto saved = session->SaveData({-45, 75}, entries);
        QVERIFY(As<SaveReport>(saved));
        QVERIFY(As<SaveReport>(saved)->keptVersions.isEmpty());
        QCOMPARE(dir.backup(), before);
        auto lists = TestFiles::NumberedEntries(3);
        lists[1][0] = u"Renamed"_s;
        QCOMPARE(dir.data(), TestFiles::Make(-45, 75, lists));
        // A second save without change leaves both files as they are: the backup keeps the
        // entries from before the change.
        const QByteArray after = dir.data();
        QVERIFY(As<SaveReport>(session->SaveData({-45, 75}, entries)));
        QCOMPARE(dir.backup(), before);
        QCOMPARE(dir.data(), after);
    }

    // Saves that change no entry, whether the window moved or not, over several runs of the
    // program, never touch the backup; each real change puts the file before it there.
    void backupKeepsTheFileFromBeforeTheLastRealChange()
    {
        ProgramDir dir;
        const Entries first = TestFiles::Numbered(3);
        dir.writeData(TestFiles::Make(100, 200, TestFiles::NumberedEntries(3)));
        Entries second = first;
        second[1].pw = u"changed"_s;
        QByteArray beforeSecond;
        {
            auto session = OpenedSession(dir.path());
            QVERIFY(session);
            QVERIFY(As<SaveReport>(session->SaveData({150, 250}, first)));
            QCOMPARE(dir.data(), Formatted({150, 250}, first));
            QVERIFY(!QFileInfo::exists(dir.backupPath()));
            // The same bytes again: the file is not even replaced.
            const quint64 identity = SystemFiles::Identity(dir.dataPath());
            QVERIFY(As<SaveReport>(session->SaveData({150, 250}, first)));
            QCOMPARE(SystemFiles::Identity(dir.dataPath()), identity);
            QVERIFY(!QFileInfo::exists(dir.backupPath()));

            beforeSecond = dir.data();
            QVERIFY(As<SaveReport>(session->SaveData({150, 250}, second)));
            QCOMPARE(dir.backup(), beforeSecond);
        }
        for (const DataFile::Position position : {DataFile::Position{150, 250}, {-30, 40}}) {
            auto session = OpenedSession(dir.path());
            QVERIFY(session);
            for (int save = 0; save < 2; ++save) {
                const auto saved = session->SaveData(position, second);
                QVERIFY(As<SaveReport>(saved));
                QVERIFY(As<SaveReport>(saved)->keptVersions.isEmpty());
                QCOMPARE(dir.data(), Formatted(position, second));
                QCOMPARE(dir.backup(), beforeSecond);
            }
        }
        // Moving entries is a change, even with the same texts.
        auto session = OpenedSession(dir.path());
        Entries third = second;
        third.swapItemsAt(0, 2);
        const QByteArray beforeThird = dir.data();
        QVERIFY(As<SaveReport>(session->SaveData({0, 0}, third)));
        QCOMPARE(dir.backup(), beforeThird);
        QCOMPARE(dir.data(), Formatted({0, 0}, third));
    }

    // A file in another shape than the program writes: whether its entries change is read
    // from the entries, not from the bytes.
    void changeOfEntriesIsJudgedByTheEntries_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("backedUp");
        const QByteArray tail = Formatted({0, 0}, TestFiles::Numbered(2)).sliced(5);
        QTest::newRow("blanks and unquoted fields, same entries")
            << QByteArray("7,8\r\n Title 1 ,id-1,\"pw-1-x\" , https://example.com/1\r\n") +
                   tail.sliced(tail.indexOf("\"Title 2"))
            << false;
        QTest::newRow("position on two lines, same entries")
            << QByteArray("7\r\n8\r\n") + tail << false;
        QTest::newRow("an entry on the position line, ended by CR alone")
            << QByteArray("7\r8\r\"a\"\r\"b\"\r\"c\"\r\"d\"\r\n") + tail << true;
    }
    void changeOfEntriesIsJudgedByTheEntries()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, backedUp);
        ProgramDir dir(file);
        auto session = OpenedSession(dir.path());
        QVERIFY(session);
        QVERIFY(As<SaveReport>(session->SaveData({0, 0}, TestFiles::Numbered(2))));
        QCOMPARE(dir.data(), Formatted({0, 0}, TestFiles::Numbered(2)));
        QCOMPARE(QFileInfo::exists(dir.backupPath()), backedUp);
        if (backedUp)
            QCOMPARE(dir.backup(), file);
    }

    // What a save does, decided from what the session holds and what the disk holds now.
    // Bytes: "last" as the session read or wrote them, "-" on disk for a missing file.
    void planFollowsTheSessionAndTheDisk_data()
    {
        QTest::addColumn<bool>("changed"); // the entries differ from those held
        QTest::addColumn<bool>("ownSave");
        QTest::addColumn<QByteArray>("disk");
        QTest::addColumn<QByteArray>("newBytes");
        QTest::addColumn<SavePlan>("plan");
        using K = SavePlan::Kind;
        QTest::newRow("nothing new") << false << true << "last"_ba
                                     << "last"_ba << SavePlan{K::Write};
        QTest::newRow("window moved") << false << true << "last"_ba
                                      << "new"_ba << SavePlan{K::Write, false, true};
        QTest::newRow("entries changed") << true << false << "last"_ba
                                         << "new"_ba << SavePlan{K::Write, true, true};
        QTest::newRow("file gone, entries changed") << true << true << "-"_ba
                                                    << "new"_ba << SavePlan{K::Write, false, true};
        QTest::newRow("disk holds the new bytes already")
            << true << true << "new"_ba
            << "new"_ba << SavePlan{K::Write, true, false};
        QTest::newRow("other version, entries changed")
            << true << false << "other"_ba
            << "new"_ba << SavePlan{K::KeepOthersFirst, true, true};
        QTest::newRow("other version over an own save") << false << true << "other"_ba
                                                        << "new"_ba << SavePlan{K::KeepOwnVersion};
        QTest::newRow("other version over a read file") << false << false << "other"_ba
                                                        << "new"_ba << SavePlan{K::LeaveAlone};
    }
    void planFollowsTheSessionAndTheDisk()
    {
        QFETCH(bool, changed);
        QFETCH(bool, ownSave);
        QFETCH(QByteArray, disk);
        QFETCH(QByteArray, newBytes);
        QFETCH(SavePlan, plan);
        const Entries held = TestFiles::Numbered(2);
        const Entries entries = changed ? TestFiles::Numbered(3) : held;
        const auto onDisk = disk == "-" ? std::nullopt : std::optional(disk);
        const SavePlan got = PlanSave({held, "last"_ba, ownSave}, onDisk, entries, newBytes);
        QCOMPARE(int(got.kind), int(plan.kind));
        QCOMPARE(got.backup, plan.backup);
        QCOMPARE(got.data, plan.data);
    }

    // Another program changed the data file after it was read. The close, changing no
    // entry, leaves its version in place; a real change keeps it under a name of its own
    // first, and the backup takes the entries as the session had them.
    void anotherProgramsVersionIsNeverReplaced()
    {
        const QByteArray read = TestFiles::Make(0, 0, TestFiles::NumberedEntries(2));
        ProgramDir dir(read, "older backup");
        auto session = OpenedSession(dir.path());
        QVERIFY(session);
        const QByteArray other = TestFiles::Make(0, 0, TestFiles::NumberedEntries(3));
        dir.writeData(other);

        const auto closed = session->SaveAtClose({10, 20});
        QVERIFY(As<SaveReport>(closed) && As<SaveReport>(closed)->keptVersions.isEmpty());
        QCOMPARE(dir.data(), other);
        QCOMPARE(dir.backup(), QByteArray("older backup"));

        Entries ours = session->Table();
        ours[0].id = u"edited"_s;
        const auto saved = session->SaveData({10, 20}, ours);
        QVERIFY(As<SaveReport>(saved));
        const QStringList kept = As<SaveReport>(saved)->keptVersions;
        QCOMPARE(kept.size(), 1);
        QVERIFY(QFileInfo(kept[0]).fileName().startsWith(u"Cofferly.Dat.20"_s));
        QCOMPARE(TestFiles::Read(kept[0]), other);
        QVERIFY(SystemFiles::OwnerOnly(kept[0]));
        QCOMPARE(dir.backup(), read);
        QCOMPARE(dir.data(), Formatted({10, 20}, ours));
        QVERIFY(RemoveLeftovers(dir.path()).isEmpty()); // the start's clean-up leaves it
        // The next save knows the file it wrote; only the bytes count.
        dir.writeData(dir.data());
        const auto again = session->SaveData({10, 20}, ours);
        QVERIFY(As<SaveReport>(again) && As<SaveReport>(again)->keptVersions.isEmpty());
    }

    // Another folder put at the program folder's path after the start: the save is refused
    // and neither folder is written.
    void aFolderSwappedInIsNotWritten()
    {
        QTemporaryDir parent;
        QVERIFY(parent.isValid());
        const QString path = parent.filePath(u"app"_s), moved = parent.filePath(u"moved"_s);
        QVERIFY(QDir().mkdir(path));
        const QByteArray before = TestFiles::Make(0, 0, TestFiles::NumberedEntries(2));
        TestFiles::Write(path + u"/Cofferly.Dat"_s, before);
        auto session = OpenedSession(path);
        QVERIFY(session);
        QVERIFY(QDir().rename(path, moved));
        QVERIFY(QDir().mkdir(path));
        TestFiles::Write(path + u"/Cofferly.Dat"_s, before);
        const auto saved = session->SaveData({0, 0}, TestFiles::Numbered(1));
        QVERIFY(As<StoreError>(saved));
        QCOMPARE(As<StoreError>(saved)->cause, Cause::FolderReplaced);
        QCOMPARE(QDir(path).entryList(QDir::Files), QStringList{u"Cofferly.Dat"_s});
        QCOMPARE(TestFiles::Read(path + u"/Cofferly.Dat"_s), before);
        QCOMPARE(TestFiles::Read(moved + u"/Cofferly.Dat"_s), before);
    }

    void dataFileGoneSinceTheLoadIsWrittenAgain()
    {
        ProgramDir dir(TestFiles::Make(0, 0, TestFiles::NumberedEntries(2)));
        auto session = OpenedSession(dir.path());
        QVERIFY(session);
        QVERIFY(QFile::remove(dir.dataPath()));
        const auto saved = session->SaveData({0, 0}, TestFiles::Numbered(1));
        QVERIFY(As<SaveReport>(saved));
        QVERIFY(As<SaveReport>(saved)->keptVersions.isEmpty());
        QCOMPARE(dir.data(), Formatted({0, 0}, TestFiles::Numbered(1)));
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
    }

    void saveRefusesTextsTheFileCannotHold()
    {
        const QByteArray before = TestFiles::Make(0, 0, TestFiles::NumberedEntries(2));
        ProgramDir dir(before);
        auto session = OpenedSession(dir.path());
        for (const QString& title : {u"a \"quote\""_s, u"wave \u301C dash"_s}) {
            Entries entries = session->Table();
            entries[1].title = title;
            const auto saved = session->SaveData({0, 0}, entries);
            QVERIFY(As<StoreError>(saved));
            QCOMPARE(As<StoreError>(saved)->kind, StoreError::Kind::Write);
            QCOMPARE(As<StoreError>(saved)->cause, Cause::UnstorableText);
            QCOMPARE(dir.data(), before);
            QVERIFY(!QFileInfo::exists(dir.backupPath()));
        }
    }

    void filesAreReadableByTheOwnerOnly()
    {
        ProgramDir dir;
        QVERIFY(!CreateDefaultFile(dir.path(), {0, 0}, u"g"_s));
        QVERIFY(SystemFiles::OwnerOnly(dir.dataPath()));
        // A file left readable by others is tightened by the next save that writes it.
        QVERIFY(SystemFiles::LetEveryoneRead(dir.dataPath()));
        QVERIFY(!SystemFiles::OwnerOnly(dir.dataPath()));
        auto session = OpenedSession(dir.path());
        QVERIFY(As<SaveReport>(session->SaveData({0, 0}, TestFiles::Numbered(1))));
        QVERIFY(SystemFiles::OwnerOnly(dir.dataPath()));
        QVERIFY(SystemFiles::OwnerOnly(dir.backupPath()));
    }

    // A write that stops part way (here at a file-size limit) leaves both files as they were.
    void failedSaveLeavesBothFilesAsTheyWere()
    {
        if (!SystemFiles::HasUnixFiles())
            QSKIP("no file size limit here");
        const QByteArray before = TestFiles::Make(0, 0, TestFiles::NumberedEntries(2));
        ProgramDir dir(before, "older backup");
        auto session = OpenedSession(dir.path());
        QVERIFY(session);
        Entries entries = session->Table();
        for (int i = 3; i <= 150; ++i)
            entries.append({QString(40, u'x'), {}, {}, {}});

        for (qint64 limit : {qint64(0), qint64(50), qint64(before.size()), qint64(4000)}) {
            QVERIFY(SystemFiles::LimitFileSize(limit));
            const auto result = session->SaveData({0, 0}, entries);
            SystemFiles::LimitFileSize(-1);
            QVERIFY2(As<StoreError>(result), qPrintable(QString::number(limit)));
            QCOMPARE(As<StoreError>(result)->kind, StoreError::Kind::Write);
            QCOMPARE(dir.data(), before);
            QCOMPARE(dir.backup(), QByteArray("older backup"));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporaries left
        }
    }
};

QTEST_GUILESS_MAIN(TestDataSession)
#include "tst_data_session.moc"
