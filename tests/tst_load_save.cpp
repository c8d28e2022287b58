// The store's file rules against real files in a program directory of their own: loading,
// the default file, saving and its backup, and files that are not data files.
#include "store/load_save.h"
#include "support/test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>
#include <chrono>
#include <csignal>
#include <future>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

using namespace Qt::Literals::StringLiterals;
using Cause = StoreError::Cause;

namespace {

template <typename T, typename Variant> const T* As(const Variant& v)
{
    return std::get_if<T>(&v);
}

Entries Numbered(int n)
{
    return TestFiles::FromLists(TestFiles::NumberedEntries(n));
}

QByteArray Formatted(DataFile::Position position, const Entries& entries)
{
    return DataFile::Format(position, entries).value_or("not storable");
}

// The file's inode: a file replaced by a save gets a new one.
ino_t Inode(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

// One run of the program over a directory: it reads the data file once, then saves the
// way the window does, each save passing on what the one before wrote.
struct Session {
    explicit Session(const ProgramDir& dir) : dir(dir.path())
    {
        const auto loaded = LoadData(this->dir);
        if (const auto* l = As<Loaded>(loaded)) {
            contents = l->contents;
            read = l->read;
        } else {
            loadFailed = true;
        }
    }
    std::variant<Saved, StoreError> Save(DataFile::Position position, const Entries& entries)
    {
        auto saved = SaveData(dir, position, entries, read);
        if (const auto* s = As<Saved>(saved))
            read = s->written;
        return saved;
    }

    QString dir;
    bool loadFailed = false;
    DataFile::Contents contents;
    Fingerprint read;
};

// Runs `call` on a thread of its own and waits for it at most ten seconds, so that a call
// that blocks fails the test rather than hanging it (the blocked thread is left behind).
template <typename F> auto Promptly(F call) -> std::optional<decltype(call())>
{
    using Result = decltype(call());
    auto promise = std::make_shared<std::promise<Result>>();
    auto result = promise->get_future();
    std::thread([promise, call] { promise->set_value(call()); }).detach();
    if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
        return std::nullopt;
    return result.get();
}

// Puts a file that is not a data file at `path`: a named pipe, a link to /dev/zero, or a
// sparse file one byte over the size limit (it takes no room on the disk).
void PutOddFile(const QString& kind, const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    if (kind == u"fifo"_s) {
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    } else if (kind == u"/dev/zero"_s) {
        QVERIFY(QFile::link(u"/dev/zero"_s, path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(kMaxDataFileSize + 1));
    }
}

} // namespace

class TestLoadSave : public QObject {
    Q_OBJECT
private slots:
    void appDirAddsOneSeparator()
    {
        QCOMPARE(AppDir(u"/"_s), u"/"_s);
        QCOMPARE(AppDir(u"/opt/cofferly"_s), u"/opt/cofferly/"_s);
        QCOMPARE(AppDir(u"/opt/cofferly/"_s), u"/opt/cofferly/"_s);
    }

    // ---- loading ---------------------------------------------------------------------

    void createsTheDefaultFileWhenThereIsNone()
    {
        ProgramDir dir;
        QCOMPARE(FindDataFiles(dir.path()), StartFiles::Neither);
        QVERIFY(!CreateDefaultFile(dir.path(), {1500, 3000}, u"新規グループ"_s));
        QCOMPARE(dir.data(),
                 QByteArray("1500,3000\r\n\"\x90\x56\x8B\x4B\x83\x4F\x83\x8B\x81\x5B\x83\x76\"\r\n"
                            "\"\"\r\n\"\"\r\n\"\"\r\n"));
        QCOMPARE(FindDataFiles(dir.path()), StartFiles::DataFile);
        const auto loaded = LoadData(dir.path());
        QVERIFY(As<Loaded>(loaded));
        QCOMPARE(As<Loaded>(loaded)->contents.entries, (Entries{{u"新規グループ"_s, {}, {}, {}}}));
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
        // A title the file cannot hold writes nothing.
        QFile::remove(dir.dataPath());
        const auto error = CreateDefaultFile(dir.path(), {0, 0}, u"\u301C"_s);
        QVERIFY(error);
        QCOMPARE(error->cause, Cause::UnstorableText);
        QVERIFY(!QFileInfo::exists(dir.dataPath()));
    }

    void loadsEntriesPositionAndFingerprint()
    {
        ProgramDir dir;
        const QList<QStringList> lists = {{u"Group"_s, {}, {}, {}},
                                          {u"Mail"_s, u"me"_s, {}, {}},
                                          {u"Site"_s, {}, {}, u"https://x"_s}};
        dir.writeData(TestFiles::Make(150, 300, lists));
        const auto loaded = LoadData(dir.path());
        QVERIFY(As<Loaded>(loaded));
        const auto& [contents, read] = *As<Loaded>(loaded);
        QCOMPARE(TestFiles::AsLists(contents.entries), lists);
        QCOMPARE(contents.position.top, 150.0);
        QCOMPARE(contents.position.left, 300.0);
        QCOMPARE(read, Fingerprint::Of(dir.data()));
    }

    void loadsAFileWithoutEntries()
    {
        ProgramDir dir;
        dir.writeData("0,0\r\n");
        const auto loaded = LoadData(dir.path());
        QVERIFY(As<Loaded>(loaded));
        QVERIFY(As<Loaded>(loaded)->contents.entries.isEmpty());
    }

    // The store hands the position on as written; keeping the window on the screen is the
    // window's part.
    void positionIsHandedOnAsWritten_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("left");
        QTest::newRow("equal to the screen") << QByteArray("16200,28800") << 16200.0 << 28800.0;
        QTest::newRow("top one twip over") << QByteArray("16201,100") << 16201.0 << 100.0;
        QTest::newRow("left one twip over") << QByteArray("100,28801") << 100.0 << 28801.0;
        QTest::newRow("negative stays") << QByteArray("-600,-15") << -600.0 << -15.0;
    }
    void positionIsHandedOnAsWritten()
    {
        QFETCH(QByteArray, record);
        QFETCH(double, top);
        QFETCH(double, left);
        ProgramDir dir;
        dir.writeData(record + "\r\n");
        const auto loaded = LoadData(dir.path());
        QVERIFY(As<Loaded>(loaded));
        QCOMPARE(As<Loaded>(loaded)->contents.position.top, top);
        QCOMPARE(As<Loaded>(loaded)->contents.position.left, left);
    }

    void damagedFileIsReportedAndLeftAlone()
    {
        ProgramDir dir;
        const QByteArray cut("0,0\r\n\"t\"\r\n\"i\"\r\n");
        dir.writeData(cut);
        const auto loaded = LoadData(dir.path());
        const auto* error = As<StoreError>(loaded);
        QVERIFY(error);
        QCOMPARE(error->kind, StoreError::Kind::Read);
        QCOMPARE(error->path, dir.dataPath());
        QCOMPARE(error->cause, Cause::Damaged);
        QCOMPARE(error->damage.problem, DataFile::ParseError::Problem::CutInEntry);
        QCOMPARE(error->damage.line, 4);
        QCOMPARE(error->damage.entry, 1);
        QCOMPARE(dir.data(), cut);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
    }

    void dataFileThatIsADirectoryIsReported()
    {
        ProgramDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"Cofferly.Dat"_s));
        const auto loaded = LoadData(dir.path());
        const auto* error = As<StoreError>(loaded);
        QVERIFY(error);
        QCOMPARE(error->path, dir.dataPath());
        QCOMPARE(error->cause, Cause::System);
        QCOMPARE(error->systemReason, qt_error_string(EISDIR));
        QVERIFY(As<StoreError>(SaveData(dir.path(), {0, 0}, Numbered(1), {})));
        QVERIFY(QFileInfo(dir.dataPath()).isDir());
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
    }

    // ---- files that are not data files ---------------------------------------------

    // Refused at once, never read: a pipe would block the start-up, /dev/zero never ends,
    // a huge file would fill the memory. Neither loading, saving nor restoring writes.
    void oddFilesAreRefusedPromptly_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<Cause>("cause");
        QTest::newRow("named pipe") << u"fifo"_s << Cause::NotRegularFile;
        QTest::newRow("link to /dev/zero") << u"/dev/zero"_s << Cause::NotRegularFile;
        QTest::newRow("64 MiB and one byte") << u"sparse"_s << Cause::TooLarge;
    }
    void oddFilesAreRefusedPromptly()
    {
        QFETCH(QString, kind);
        QFETCH(Cause, cause);
        ProgramDir dir;
        PutOddFile(kind, dir.dataPath());
        const QStringList files =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);

        // The calls take copies: a blocked one outlives the test.
        const QString path = dir.path();
        const auto loaded = Promptly([path] { return LoadData(path); });
        QVERIFY2(loaded, "loading blocked");
        QVERIFY(As<StoreError>(*loaded));
        QCOMPARE(As<StoreError>(*loaded)->cause, cause);
        QCOMPARE(As<StoreError>(*loaded)->path, dir.dataPath());

        const auto saved = Promptly([path] { return SaveData(path, {0, 0}, Numbered(2), {}); });
        QVERIFY2(saved, "saving blocked");
        QVERIFY(As<StoreError>(*saved));
        QCOMPARE(As<StoreError>(*saved)->cause, cause);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
                 files);

        // The same thing as the backup is not restored.
        QVERIFY(QFile::rename(dir.dataPath(), dir.backupPath()));
        QCOMPARE(FindDataFiles(dir.path()), StartFiles::BackupOnly);
        const auto restored = Promptly([path] { return RestoreBackup(path); });
        QVERIFY2(restored, "restoring blocked");
        QVERIFY(*restored);
        QCOMPARE((*restored)->cause, cause);
        QCOMPARE((*restored)->path, dir.backupPath());
        QVERIFY(!QFileInfo::exists(dir.dataPath()));
    }

    void regularFileThroughALinkIsRead()
    {
        ProgramDir dir;
        const QString target = dir.path() + u"/elsewhere.dat"_s;
        TestFiles::Write(target, TestFiles::Make(1, 2, TestFiles::NumberedEntries(2)));
        QVERIFY(QFile::link(target, dir.dataPath()));
        const auto loaded = LoadData(dir.path());
        QVERIFY(As<Loaded>(loaded));
        QCOMPARE(As<Loaded>(loaded)->contents.entries, Numbered(2));
    }

    // ---- saving and the backup -------------------------------------------------------

    void saveBacksUpTheDataFileAndWritesTheEntries()
    {
        ProgramDir dir;
        const QByteArray before = TestFiles::Make(0, 0, TestFiles::NumberedEntries(3));
        dir.writeData(before);
        Session session(dir);
        QVERIFY(!session.loadFailed);
        Entries entries = session.contents.entries;
        entries[1].title = u"Renamed"_s;
        const auto saved = session.Save({-45, 75}, entries);
        QVERIFY(As<Saved>(saved));
        QVERIFY(!As<Saved>(saved)->otherVersionKept);
        QCOMPARE(As<Saved>(saved)->written, Fingerprint::Of(dir.data()));
        QCOMPARE(dir.backup(), before);
        auto lists = TestFiles::NumberedEntries(3);
        lists[1][0] = u"Renamed"_s;
        QCOMPARE(dir.data(), TestFiles::Make(-45, 75, lists));
        // A second save without change leaves both files as they are: the backup keeps the
        // entries from before the change.
        const QByteArray after = dir.data();
        QVERIFY(As<Saved>(session.Save({-45, 75}, entries)));
        QCOMPARE(dir.backup(), before);
        QCOMPARE(dir.data(), after);
    }

    // Saves that change no entry, whether the window moved or not, over several runs of the
    // program, never touch the backup; each real change puts the file before it there.
    void backupKeepsTheFileFromBeforeTheLastRealChange()
    {
        ProgramDir dir;
        const Entries first = Numbered(3);
        dir.writeData(TestFiles::Make(100, 200, TestFiles::NumberedEntries(3)));
        Entries second = first;
        second[1].pw = u"changed"_s;
        QByteArray beforeSecond;
        {
            Session session(dir);
            QVERIFY(!session.loadFailed);
            QVERIFY(As<Saved>(session.Save({150, 250}, first)));
            QCOMPARE(dir.data(), Formatted({150, 250}, first));
            QVERIFY(!QFileInfo::exists(dir.backupPath()));
            // The same bytes again: the file is not even replaced.
            const ino_t inode = Inode(dir.dataPath());
            QVERIFY(As<Saved>(session.Save({150, 250}, first)));
            QCOMPARE(Inode(dir.dataPath()), inode);
            QVERIFY(!QFileInfo::exists(dir.backupPath()));

            beforeSecond = dir.data();
            QVERIFY(As<Saved>(session.Save({150, 250}, second)));
            QCOMPARE(dir.backup(), beforeSecond);
        }
        for (const DataFile::Position position : {DataFile::Position{150, 250}, {-30, 40}}) {
            Session session(dir);
            QVERIFY(!session.loadFailed);
            for (int save = 0; save < 2; ++save) {
                const auto saved = session.Save(position, second);
                QVERIFY(As<Saved>(saved));
                QVERIFY(!As<Saved>(saved)->otherVersionKept);
                QCOMPARE(dir.data(), Formatted(position, second));
                QCOMPARE(dir.backup(), beforeSecond);
            }
        }
        // Moving entries is a change, even with the same texts.
        Session session(dir);
        Entries third = second;
        third.swapItemsAt(0, 2);
        const QByteArray beforeThird = dir.data();
        QVERIFY(As<Saved>(session.Save({0, 0}, third)));
        QCOMPARE(dir.backup(), beforeThird);
        QCOMPARE(dir.data(), Formatted({0, 0}, third));
    }

    // A file in another shape than the program writes: whether its entries change is read
    // from the entries, not from the bytes.
    void changeOfEntriesIsJudgedByTheEntries_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("backedUp");
        const QByteArray tail = Formatted({0, 0}, Numbered(2)).sliced(5);
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
        ProgramDir dir;
        dir.writeData(file);
        Session session(dir);
        QVERIFY(!session.loadFailed);
        QVERIFY(As<Saved>(session.Save({0, 0}, Numbered(2))));
        QCOMPARE(dir.data(), Formatted({0, 0}, Numbered(2)));
        QCOMPARE(QFileInfo::exists(dir.backupPath()), backedUp);
        if (backedUp)
            QCOMPARE(dir.backup(), file);
    }

    // Another program changed the data file after it was read: its version goes to the
    // backup, whether or not this save changes entries of its own.
    void anotherProgramsVersionGoesToTheBackup_data()
    {
        QTest::addColumn<bool>("ownChange");
        QTest::newRow("entries as read") << false;
        QTest::newRow("an entry edited") << true;
    }
    void anotherProgramsVersionGoesToTheBackup()
    {
        QFETCH(bool, ownChange);
        ProgramDir dir;
        dir.writeData(TestFiles::Make(0, 0, TestFiles::NumberedEntries(2)));
        TestFiles::Write(dir.backupPath(), "older backup");
        Session session(dir);
        QVERIFY(!session.loadFailed);
        const QByteArray other = TestFiles::Make(0, 0, TestFiles::NumberedEntries(3));
        dir.writeData(other);

        Entries ours = session.contents.entries;
        if (ownChange)
            ours[0].id = u"edited"_s;
        const auto saved = session.Save({10, 20}, ours);
        QVERIFY(As<Saved>(saved));
        QVERIFY(As<Saved>(saved)->otherVersionKept);
        QCOMPARE(dir.backup(), other);
        QCOMPARE(dir.data(), Formatted({10, 20}, ours));
        QCOMPARE(As<Saved>(saved)->written, Fingerprint::Of(dir.data()));

        // The next save knows the file it wrote.
        const auto again = session.Save({10, 20}, ours);
        QVERIFY(As<Saved>(again));
        QVERIFY(!As<Saved>(again)->otherVersionKept);
        QCOMPARE(dir.backup(), other);
        // Only the bytes count: the file rewritten with the same bytes lost nothing.
        dir.writeData(dir.data());
        const auto rewritten = session.Save({10, 20}, ours);
        QVERIFY(As<Saved>(rewritten));
        QVERIFY(!As<Saved>(rewritten)->otherVersionKept);
        QCOMPARE(dir.backup(), other);
    }

    void dataFileGoneSinceTheLoadIsWrittenAgain()
    {
        ProgramDir dir;
        dir.writeData(TestFiles::Make(0, 0, TestFiles::NumberedEntries(2)));
        Session session(dir);
        QVERIFY(!session.loadFailed);
        QVERIFY(QFile::remove(dir.dataPath()));
        const auto saved = session.Save({0, 0}, Numbered(1));
        QVERIFY(As<Saved>(saved));
        QVERIFY(!As<Saved>(saved)->otherVersionKept);
        QCOMPARE(dir.data(), Formatted({0, 0}, Numbered(1)));
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
    }

    void saveRefusesTextsTheFileCannotHold()
    {
        ProgramDir dir;
        const QByteArray before = TestFiles::Make(0, 0, TestFiles::NumberedEntries(2));
        dir.writeData(before);
        Session session(dir);
        for (const QString& title : {u"a \"quote\""_s, u"wave \u301C dash"_s}) {
            Entries entries = session.contents.entries;
            entries[1].title = title;
            const auto saved = session.Save({0, 0}, entries);
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
        const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        auto mode = [](const QString& p) {
            return QFileInfo(p).permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser);
        };
        QCOMPARE(mode(dir.dataPath()), ownerOnly);
        // A file left readable by others is tightened by the next save that writes it.
        QFile(dir.dataPath())
            .setPermissions(ownerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        Session session(dir);
        QVERIFY(As<Saved>(session.Save({0, 0}, Numbered(1))));
        QCOMPARE(mode(dir.dataPath()), ownerOnly);
        QCOMPARE(mode(dir.backupPath()), ownerOnly);
    }

    // A write that stops part way (here at a file-size limit) leaves both files as they were.
    void failedSaveLeavesBothFilesAsTheyWere()
    {
        std::signal(SIGXFSZ, SIG_IGN);
        ProgramDir dir;
        const QByteArray before = TestFiles::Make(0, 0, TestFiles::NumberedEntries(2));
        dir.writeData(before);
        TestFiles::Write(dir.backupPath(), "older backup");
        Session session(dir);
        QVERIFY(!session.loadFailed);
        Entries entries = session.contents.entries;
        for (int i = 3; i <= 150; ++i)
            entries.append({QString(40, u'x'), {}, {}, {}});

        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        for (rlim_t limit : {rlim_t(0), rlim_t(50), rlim_t(before.size()), rlim_t(4000)}) {
            rlimit small = saved;
            small.rlim_cur = limit;
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
            const auto result = session.Save({0, 0}, entries);
            setrlimit(RLIMIT_FSIZE, &saved);
            QVERIFY2(As<StoreError>(result), qPrintable(QString::number(limit)));
            QCOMPARE(As<StoreError>(result)->kind, StoreError::Kind::Write);
            QCOMPARE(dir.data(), before);
            QCOMPARE(dir.backup(), QByteArray("older backup"));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporaries left
        }
    }
};

QTEST_GUILESS_MAIN(TestLoadSave)
#include "tst_load_save.moc"
