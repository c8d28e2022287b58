// The store's file rules against real files in a program directory of their own: loading,
// the default file, saving and its backup, and files that are not data files.
#include "store/data_folder.h"
#include "store/data_session.h"
#include "support/system_files.h"
#include "support/test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>
#include <chrono>
#include <csignal>
#include <future>
#include <thread>

using namespace Qt::Literals::StringLiterals;
using Cause = StoreError::Cause;

namespace {

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
bool PutOddFile(const QString& kind, const QString& path)
{
    if (kind == u"fifo"_s)
        return SystemFiles::Pipe(path);
    if (kind == u"/dev/zero"_s)
        return SystemFiles::Link(u"/dev/zero"_s, path);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(kMaxDataFileSize + 1);
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
        const auto loaded = ReadStoredData(dir.path());
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

    void loadsEntriesPositionAndBytes()
    {
        ProgramDir dir;
        const QList<QStringList> lists = {{u"Group"_s, {}, {}, {}},
                                          {u"Mail"_s, u"me"_s, {}, {}},
                                          {u"Site"_s, {}, {}, u"https://x"_s}};
        dir.writeData(TestFiles::Make(150, 300, lists));
        const auto loaded = ReadStoredData(dir.path());
        QVERIFY(As<Loaded>(loaded));
        const auto& [contents, read] = *As<Loaded>(loaded);
        QCOMPARE(TestFiles::AsLists(contents.entries), lists);
        QCOMPARE(contents.position.top, 150.0);
        QCOMPARE(contents.position.left, 300.0);
        QCOMPARE(read, dir.data());
    }

    void loadsAFileWithoutEntries()
    {
        ProgramDir dir("0,0\r\n");
        const auto loaded = ReadStoredData(dir.path());
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
        ProgramDir dir(record + "\r\n");
        const auto loaded = ReadStoredData(dir.path());
        QVERIFY(As<Loaded>(loaded));
        QCOMPARE(As<Loaded>(loaded)->contents.position.top, top);
        QCOMPARE(As<Loaded>(loaded)->contents.position.left, left);
    }

    void damagedFileIsReportedAndLeftAlone()
    {
        ProgramDir dir;
        const QByteArray cut("0,0\r\n\"t\"\r\n\"i\"\r\n");
        dir.writeData(cut);
        const auto loaded = ReadStoredData(dir.path());
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
        const auto loaded = ReadStoredData(dir.path());
        const auto* error = As<StoreError>(loaded);
        QVERIFY(error);
        QCOMPARE(error->path, dir.dataPath());
        QCOMPARE(error->cause, Cause::System);
        QCOMPARE(error->systemReason, SystemFiles::DirectoryReason());
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
        ProgramDir dir(TestFiles::Make(0, 0, TestFiles::NumberedEntries(2)));
        auto session = OpenedSession(dir.path());
        QVERIFY(session);
        QVERIFY(QFile::remove(dir.dataPath()));
        if (kind != u"sparse"_s && !SystemFiles::HasUnixFiles())
            QSKIP("no such file on this system");
        QVERIFY(PutOddFile(kind, dir.dataPath()));
        const QStringList files =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);

        // The calls take copies: a blocked one outlives the test.
        const QString path = dir.path();
        const auto loaded = Promptly([path] { return ReadStoredData(path); });
        QVERIFY2(loaded, "loading blocked");
        QVERIFY(As<StoreError>(*loaded));
        QCOMPARE(As<StoreError>(*loaded)->cause, cause);
        QCOMPARE(As<StoreError>(*loaded)->path, dir.dataPath());

        const auto saved = Promptly([session] {
            DataSession copy = *session;
            return copy.SaveData({0, 0}, TestFiles::Numbered(3));
        });
        QVERIFY2(saved, "saving blocked");
        QVERIFY(As<StoreError>(*saved));
        // A link where the session found none is refused before anything is read.
        QCOMPARE(As<StoreError>(*saved)->cause,
                 kind.startsWith(u'/') ? Cause::LinkPutInPlace : cause);
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
        if (!SystemFiles::HasUnixFiles())
            QSKIP("no link here");
        QVERIFY(SystemFiles::Link(target, dir.dataPath()));
        const auto loaded = ReadStoredData(dir.path());
        QVERIFY(As<Loaded>(loaded));
        QCOMPARE(As<Loaded>(loaded)->contents.entries, TestFiles::Numbered(2));
    }
};

QTEST_GUILESS_MAIN(TestLoadSave)
#include "tst_data_folder.moc"
