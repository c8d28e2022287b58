// Saves and loads whose file operations fail part way: after every fault both files are
// whole, hold their old or their new contents, no temporary is left and the failure is
// reported. The faults come from the fault shim this suite is linked with.
#include "faults/fault_shim.h"
#include "faults/fault_support.h"
#include "store/instance_lock.h"
#include "support/test_support.h"

#include <QProcess>
#include <QtTest>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace Qt::Literals::StringLiterals;

// A program directory holding save n + 1 as its data file and save n as its backup,
// about to take save n + 2; or, when only the position moves, save n + 1's entries at
// save n + 2's position, which leaves the backup alone.
class Scene {
public:
    explicit Scene(int n = 0, bool moveOnly = false)
        : oldBackup(SaveStateBytes(n)), oldData(SaveStateBytes(n + 1)),
          newData(*DataFile::Format(SavePosition(n + 2), SaveState(moveOnly ? n + 1 : n + 2))),
          newBackup(moveOnly ? oldBackup : oldData), n_(n), moveOnly_(moveOnly)
    {
        Reset();
    }
    void Reset() const
    {
        QFile::remove(dir.dataPath());
        QFile::remove(dir.backupPath());
        for (const QString& f : StrayFiles(dir.path()))
            QFile::remove(dir.path() + u'/' + f);
        dir.writeData(oldData);
        TestFiles::Write(dir.backupPath(), oldBackup);
        kept_.clear();
        // Opened before any fault is injected: the faults are for the save.
        session_ = OpenedSession(dir.path());
        if (!session_)
            qFatal("the scene's data file does not open");
    }
    std::optional<StoreError> Save() const
    {
        const auto saved =
            session_->SaveData(SavePosition(n_ + 2), SaveState(moveOnly_ ? n_ + 1 : n_ + 2));
        if (const auto* error = std::get_if<StoreError>(&saved))
            return *error;
        const auto& [kept, caught, own] = std::get<DataSession::SaveReport>(saved);
        kept_ = kept + caught;
        return std::nullopt;
    }
    // The bytes a whole save writes: the backup when it changes, then the data file.
    long long BytesOfASave() const
    {
        return (newBackup != oldBackup ? oldData.size() : 0) + newData.size();
    }
    // What the files hold now: "old", "new", "mixed" (each file whole, one of them new),
    // or what is wrong. Temporaries left behind are checked on their own.
    QString Describe(const std::optional<StoreError>& error) const
    {
        const QByteArray data = dir.data(), backup = dir.backup();
        if (data == oldData && backup == oldBackup)
            return error ? u"old"_s : u"old, but no error reported"_s;
        if (data == newData && backup == newBackup)
            return error ? u"new, but an error reported"_s : u"new"_s;
        const bool dataWhole = data == oldData || data == newData;
        const bool backupWhole = backup == oldBackup || backup == newBackup;
        if (dataWhole && backupWhole)
            return error ? u"mixed"_s : u"mixed, but no error reported"_s;
        return u"damaged: data %1 bytes, backup %2 bytes"_s.arg(data.size()).arg(backup.size());
    }

    // Temporaries left behind, except those the system refused to remove. A version the
    // save could not tell from its own (a failed read) is kept and named, and must be whole.
    QString Strays(const std::string& log) const
    {
        QStringList stray = StrayFiles(dir.path());
        stray.removeIf([&](const QString& name) {
            const QString path = dir.path() + u'/' + name;
            if (kept_.contains(path) && TestFiles::Read(path) == oldData)
                return true;
            const QString refused = u"unlink %1\n  -> failed"_s.arg(path);
            return QString::fromStdString(log).contains(refused);
        });
        return stray.join(u' ');
    }

    ProgramDir dir;
    const QByteArray oldBackup;
    const QByteArray oldData;
    const QByteArray newData;
    const QByteArray newBackup;

private:
    int n_;
    bool moveOnly_;
    mutable std::optional<DataSession> session_;
    mutable QStringList kept_;
};

// A failure must say which file and why.
QString CheckReport(const Scene& s, const std::optional<StoreError>& error)
{
    if (!error)
        return {};
    if (error->path != s.dir.dataPath() && error->path != s.dir.backupPath())
        return u"error names "_s + error->path;
    if (error->cause == StoreError::Cause::ReadIncomplete)
        return {};
    // The reason is the system's own for the injected fault, never a vague one.
    const QStringList reasons = {qt_error_string(EIO), qt_error_string(ENOSPC)};
    if (error->cause != StoreError::Cause::System || !reasons.contains(error->systemReason))
        return u"cause %1, reason given: %2"_s.arg(int(error->cause)).arg(error->systemReason);
    return {};
}

// The kind of the first operation the shim failed ("write", "rename", ...).
QString FailedKind(const std::string& log)
{
    const QStringList lines = QString::fromStdString(log).split(u'\n');
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (lines[i] == u"  -> failed"_s)
            return lines[i - 1].section(u' ', 0, 0);
    return u"none"_s;
}

// Watched operations of one clean save.
int OperationsOfASave(const Scene& s)
{
    s.Reset();
    FaultShim::Watch(s.dir.path().toStdString());
    const auto error = s.Save();
    const int n = FaultShim::Operations();
    FaultShim::Stop();
    return error ? -1 : n;
}

// One save of a fresh scene with the faults `inject` sets up: the files' state, the shim's
// log, and what else is wrong (temporaries left, a vague report, a new name not synced).
struct FaultedSave {
    std::optional<StoreError> error;
    std::string log;
    QString state;
    QString wrong;
};

FaultedSave SaveWithFaults(const Scene& s, const std::function<void()>& inject)
{
    s.Reset();
    FaultShim::Watch(s.dir.path().toStdString());
    inject();
    FaultedSave saved;
    saved.error = s.Save();
    saved.log = FaultShim::Log();
    const int unsyncedLinks = FaultShim::UnsyncedLinks();
    FaultShim::Stop();
    saved.state = s.Describe(saved.error);
    QStringList wrong{s.Strays(saved.log), CheckReport(s, saved.error)};
    if (unsyncedLinks != 0)
        wrong << u"%1 links not synced"_s.arg(unsyncedLinks);
    wrong.removeAll(QString());
    saved.wrong = wrong.join(u"; "_s);
    return saved;
}

void PrintOutcomes(const QMap<QString, int>& outcomes)
{
    for (auto it = outcomes.cbegin(); it != outcomes.cend(); ++it)
        qInfo("%s: %d", qPrintable(it.key()), it.value());
}

// Whether this folder's file system swaps two names in one step.
bool ExchangeWorks(const QString& dir)
{
    const QByteArray a = QFile::encodeName(dir + u"/a"_s), b = QFile::encodeName(dir + u"/b"_s);
    TestFiles::Write(QFile::decodeName(a), "a");
    TestFiles::Write(QFile::decodeName(b), "b");
    const bool works = ::renameat2(AT_FDCWD, a, AT_FDCWD, b, RENAME_EXCHANGE) == 0;
    ::unlink(a);
    ::unlink(b);
    return works;
}

// Another program writing its versions of the data file, one every 1 to 60 ms, by renaming
// a new file into place (itself by an exchange, to see what it displaced) or by writing in
// place. It notes each of its versions that something else took from the data file's place.
struct OutsideWriter {
    QString data;
    bool inPlace = false;
    std::atomic<bool> stop{false};
    QList<QByteArray> displaced; // its versions a save took out of place
    // Made before the writer starts: the code page 932 converter serves one thread.
    QList<QByteArray> versions;
    int written = 0;

    void Put(const QByteArray& version, const QByteArray& last)
    {
        const QByteArray path = QFile::encodeName(data);
        if (inPlace) {
            if (!last.isEmpty() && TestFiles::Read(data) != last)
                displaced << last;
            const int fd = ::open(path, O_WRONLY | O_TRUNC);
            // Half, a pause, the rest: a save may catch it half way.
            ::write(fd, version.constData(), size_t(version.size() / 2));
            ::usleep(300);
            ::write(fd, version.constData() + version.size() / 2,
                    size_t(version.size() - version.size() / 2));
            ::close(fd);
            return;
        }
        const QString next = data + u".outside"_s;
        TestFiles::Write(next, version);
        const QByteArray nextPath = QFile::encodeName(next);
        ::renameat2(AT_FDCWD, nextPath, AT_FDCWD, path, RENAME_EXCHANGE);
        if (!last.isEmpty() && TestFiles::Read(next) != last)
            displaced << last;
        ::unlink(nextPath);
    }
    void Run()
    {
        QByteArray last;
        for (int k = 0; !stop && k < versions.size(); ++k) {
            const QByteArray& version = versions[k];
            Put(version, last);
            last = version;
            ++written;
            std::this_thread::sleep_for(std::chrono::milliseconds(1 + k * 37 % 60));
        }
        if (TestFiles::Read(data) != last)
            displaced << last;
    }
};

} // namespace

class TestFaults : public QObject {
    Q_OBJECT
private slots:
    void cleanSaveTakesTheNewContents()
    {
        Scene s;
        QVERIFY(OperationsOfASave(s) > 0);
        QCOMPARE(s.Describe(std::nullopt), u"new"_s);
    }

    // The disk fills up after N bytes, for every N up to what a whole save writes.
    void writeStopsAfterEveryByteCount_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<bool>("moveOnly");
        QTest::newRow("one entry to three") << 0 << false;
        QTest::newRow("38 entries to 40") << 37 << false;
        QTest::newRow("only the position moves") << 5 << true;
    }
    void writeStopsAfterEveryByteCount()
    {
        QFETCH(int, first);
        QFETCH(bool, moveOnly);
        Scene s(first, moveOnly);
        const long long total = s.BytesOfASave();
        for (long long n = 0; n <= total; ++n) {
            const FaultedSave saved = SaveWithFaults(s, [n] { FaultShim::FailAfterBytes(n); });
            QVERIFY2(StrayFiles(s.dir.path()).isEmpty(),
                     qPrintable(StrayFiles(s.dir.path()).join(u' ')));
            const QString expected = n < total ? u"old"_s : u"new"_s;
            QVERIFY2(saved.state == expected,
                     qPrintable(u"after %1 bytes: "_s.arg(n) + saved.state));
            QVERIFY2(saved.wrong.isEmpty(), qPrintable(saved.wrong));
        }
        qInfo("%lld byte counts tried", total + 1);
    }

    // Each file operation of a save fails in turn: open, read, write, sync, link, rename,
    // close and the rest.
    void everyOperationFailsOnce_data()
    {
        QTest::addColumn<bool>("moveOnly");
        QTest::newRow("entries change") << false;
        QTest::newRow("only the position moves") << true;
    }
    void everyOperationFailsOnce()
    {
        QFETCH(bool, moveOnly);
        Scene s(0, moveOnly);
        const int count = OperationsOfASave(s);
        QVERIFY(count > 0);
        QMap<QString, int> outcomes;
        for (int k = 1; k <= count; ++k) {
            const FaultedSave saved = SaveWithFaults(s, [k] { FaultShim::FailOperation(k); });
            ++outcomes[saved.state + u" after a failed "_s + FailedKind(saved.log)];
            // A fault that does no harm need not fail the save: the new contents are whole.
            QVERIFY2(saved.state == u"old"_s || saved.state == u"new"_s,
                     qPrintable(u"operation %1: %2\n"_s.arg(k).arg(saved.state) +
                                QString::fromStdString(saved.log)));
            QVERIFY2(saved.wrong.isEmpty(), qPrintable(saved.wrong));
        }
        PrintOutcomes(outcomes);
        qInfo("%d operations failed one at a time", count);
    }

    // Two operations fail, for every pair: the second fault may strike while the first is
    // being undone. Each file must still be whole.
    void everyPairOfOperationsFails()
    {
        Scene s;
        const int count = OperationsOfASave(s);
        QVERIFY(count > 0);
        int trials = 0;
        QMap<QString, int> outcomes;
        for (int i = 1; i <= count; ++i) {
            for (int j = i + 1; j <= count + 8; ++j, ++trials) {
                const FaultedSave saved = SaveWithFaults(s, [i, j] {
                    FaultShim::FailOperation(i);
                    FaultShim::FailOperation(j);
                });
                const QString& state = saved.state;
                ++outcomes[state];
                QVERIFY2(state == u"old"_s || state == u"new"_s || state == u"mixed"_s,
                         qPrintable(u"operations %1 and %2: %3\n"_s.arg(i).arg(j).arg(state) +
                                    QString::fromStdString(saved.log)));
                QVERIFY2(saved.wrong.isEmpty(), qPrintable(saved.wrong));
            }
        }
        PrintOutcomes(outcomes);
        qInfo("%d pairs of failing operations tried", trials);
    }

    // From some operation on, everything fails: a disk gone read-only or away.
    void everythingFailsFromEveryOperationOn()
    {
        Scene s;
        const int count = OperationsOfASave(s);
        QVERIFY(count > 0);
        for (int k = 1; k <= count; ++k) {
            const FaultedSave saved = SaveWithFaults(s, [k] { FaultShim::FailFrom(k); });
            const std::string& log = saved.log;
            const QString& state = saved.state;
            // Once the data file, the last, is renamed, only the folder's flush is left.
            const bool renamed = log.find("renameat2 " + s.dir.dataPath().toStdString() + '\n') <
                                 log.find("  -> failed");
            QVERIFY2(state == u"old"_s || state == u"mixed"_s || (renamed && state == u"new"_s),
                     qPrintable(u"from operation %1: %2\n"_s.arg(k).arg(state) +
                                QString::fromStdString(log)));
            QVERIFY2(saved.wrong.isEmpty(), qPrintable(saved.wrong));
        }
        qInfo("%d starting points tried", count);
    }

    // Another program puts its version in place while the save writes: it is kept under a
    // name of its own, not replaced unseen.
    void aVersionArrivingDuringASaveIsKept()
    {
        Scene s;
        const QByteArray arriving = SaveStateBytes(7);
        FaultShim::Watch(s.dir.path().toStdString());
        FaultShim::BeforeNextSync([&] { TestFiles::Write(s.dir.dataPath(), arriving); });
        const auto error = s.Save();
        FaultShim::Stop();
        QCOMPARE(s.Describe(error), u"new"_s);
        const QStringList kept = StrayFiles(s.dir.path());
        QCOMPARE(kept.size(), 1);
        QCOMPARE(TestFiles::Read(s.dir.path() + u'/' + kept[0]), arriving);
    }

    // Every file a save, a kept copy, the lock, the default file and a restored backup
    // create is its owner's from the creating call on, even where the folder's default
    // access list would hand new files to another user.
    void everyCreatedFileIsPrivateFromItsCreation()
    {
        Scene s;
        if (QProcess::execute(u"setfacl"_s, {u"-d"_s, u"-m"_s, u"u:nobody:r"_s, s.dir.path()}))
            QSKIP("no access lists on this file system");
        // What the program creates, not what the test writes to set the scene.
        std::vector<std::pair<std::string, unsigned>> created;
        auto watched = [&](auto action) {
            FaultShim::Watch(s.dir.path().toStdString());
            action();
            const auto more = FaultShim::Created();
            FaultShim::Stop();
            created.insert(created.end(), more.begin(), more.end());
        };
        QFile::remove(s.dir.dataPath());
        watched([&] {
            QVERIFY(!CreateDefaultFile(s.dir.path(), {1500, 3000}, u"新規グループ"_s));
        });
        s.Reset();
        s.dir.writeData(SaveStateBytes(9)); // another program's version, kept by the save
        watched([&] { QVERIFY(!s.Save()); });
        InstanceLock lock(s.dir.path() + u"/Cofferly.lock"_s);
        watched([&] { QCOMPARE(lock.Acquire(), InstanceLock::Outcome::Held); });
        QFile::remove(s.dir.dataPath());
        watched([&] { QVERIFY(!RestoreBackup(s.dir.path())); });
        QStringList kinds;
        for (const auto& [path, mode] : created) {
            kinds << QString::fromStdString(path).section(u'/', -1).section(u'.', 0, 1);
            QVERIFY2(
                mode == 0600,
                qPrintable(
                    u"%1 created with %2"_s.arg(QString::fromStdString(path)).arg(mode, 0, 8)));
        }
        QVERIFY2(kinds.contains(u"Cofferly.lock"_s) && kinds.contains(u"Cofferly.bak"_s) &&
                     kinds.count(u"Cofferly.Dat"_s) >= 4,
                 qPrintable(kinds.join(u' ')));
        for (const QFileInfo& file : QDir(s.dir.path()).entryInfoList(QDir::Files)) {
            struct stat status {};
            QCOMPARE(::stat(QFile::encodeName(file.filePath()), &status), 0);
            QCOMPARE(status.st_mode & 0077, 0u);
        }
    }

    // Another program writes its versions while the session saves 200 times. A version a
    // save takes out of the data file's place is kept in a file of the folder: where the
    // file system can exchange two names, none is lost.
    void outsideVersionsAreNeverLost_data()
    {
        QTest::addColumn<bool>("inPlace");
        QTest::newRow("renamed into place") << false;
        QTest::newRow("written in place") << true;
    }
    void outsideVersionsAreNeverLost()
    {
        QFETCH(bool, inPlace);
        ProgramDir dir(SaveStateBytes(0));
        auto session = OpenedSession(dir.path());
        QVERIFY(session);
        OutsideWriter writer;
        writer.data = dir.dataPath();
        writer.inPlace = inPlace;
        for (int k = 0; k < 4000; ++k)
            writer.versions << SaveStateBytes(1000 + k);
        std::thread outside([&writer] { writer.Run(); });
        int failed = 0, kept = 0;
        for (int n = 1; n <= 200; ++n) {
            const auto saved = session->SaveData(SavePosition(n), SaveState(n));
            if (const auto* ok = std::get_if<DataSession::SaveReport>(&saved))
                kept += int(ok->keptVersions.size() + ok->caughtVersions.size());
            else // a file read while it is written in place is refused, as it should be
                ++failed;
            std::this_thread::sleep_for(std::chrono::microseconds(500 + n * 7919 % 9000));
        }
        writer.stop = true;
        outside.join();
        QSet<QByteArray> files;
        for (const QFileInfo& file : QDir(dir.path()).entryInfoList(QDir::Files))
            files << TestFiles::Read(file.filePath());
        int lost = 0, partial = 0;
        for (const QByteArray& version : writer.displaced) {
            if (files.contains(version))
                continue;
            ++lost;
            for (const QByteArray& file : files)
                partial += !file.isEmpty() && version.startsWith(file);
        }
        qInfo("%d outside versions, %d taken out of place by a save, %d kept by the saves, "
              "%d lost (%d of them kept in part), %d saves failed",
              writer.written, int(writer.displaced.size()), kept, lost, partial, failed);
        if (ExchangeWorks(dir.path()))
            QCOMPARE(lost, 0);
    }

    // A lock that cannot be written (here a full disk) is no other copy: Failed, with the
    // system's reason.
    void aLockThatCannotBeWrittenFails()
    {
        ProgramDir dir;
        InstanceLock lock(dir.path() + u"/Cofferly.lock"_s);
        FaultShim::Watch(dir.path().toStdString());
        FaultShim::FailAfterBytes(0);
        const auto outcome = lock.Acquire();
        FaultShim::Stop();
        QCOMPARE(outcome, InstanceLock::Outcome::Failed);
        QCOMPARE(lock.Reason(), qt_error_string(ENOSPC));
    }

    // Reading at start-up fails at every operation: reported, nothing written.
    void loadFailsAtEveryOperation()
    {
        Scene s;
        FaultShim::Watch(s.dir.path().toStdString());
        QVERIFY(std::holds_alternative<Loaded>(ReadStoredData(s.dir.path())));
        const int count = FaultShim::Operations();
        FaultShim::Stop();
        QVERIFY(count > 0);
        for (int k = 1; k <= count; ++k) {
            FaultShim::Watch(s.dir.path().toStdString());
            FaultShim::FailOperation(k);
            const auto loaded = ReadStoredData(s.dir.path());
            FaultShim::Stop();
            // Either the failure is reported, or the whole file was read regardless.
            if (const auto* error = std::get_if<StoreError>(&loaded)) {
                QCOMPARE(error->path, s.dir.dataPath());
                QCOMPARE(s.Describe(*error), u"old"_s);
            } else {
                const auto& [contents, read] = std::get<Loaded>(loaded);
                QCOMPARE(DataFile::Format(contents.position, contents.entries), s.oldData);
                QCOMPARE(read, s.oldData);
            }
        }
        qInfo("%d operations of a load failed one at a time", count);
    }

    // The first start writes the default file, and a start that finds only the backup
    // puts it back: whatever fails, there is either no data file or a whole one, and the
    // backup stays as it was.
    void startFileIsWholeOrAbsent_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::newRow("default file") << false;
        QTest::newRow("restored backup") << true;
    }
    void startFileIsWholeOrAbsent()
    {
        QFETCH(bool, restore);
        ProgramDir dir;
        const QByteArray backup = SaveStateBytes(3);
        if (restore)
            TestFiles::Write(dir.backupPath(), backup);
        auto write = [&] {
            return restore ? RestoreBackup(dir.path())
                           : CreateDefaultFile(dir.path(), {1500, 3000}, u"新規グループ"_s);
        };
        FaultShim::Watch(dir.path().toStdString());
        QVERIFY(!write().has_value());
        const int count = FaultShim::Operations();
        QVERIFY(count > 0);
        FaultShim::Stop();
        const QByteArray whole = dir.data();
        QVERIFY(!whole.isEmpty());
        if (restore)
            QCOMPARE(whole, backup);
        for (int k = 1; k <= count + whole.size(); ++k) {
            QFile::remove(dir.dataPath());
            FaultShim::Watch(dir.path().toStdString());
            if (k <= count)
                FaultShim::FailOperation(k);
            else
                FaultShim::FailAfterBytes(k - count - 1);
            const auto error = write();
            FaultShim::Stop();
            QVERIFY(StrayFiles(dir.path()).isEmpty());
            if (QFileInfo::exists(dir.dataPath()))
                QCOMPARE(dir.data(), whole);
            else
                QVERIFY2(error, qPrintable(u"trial %1: no file, no error"_s.arg(k)));
            if (restore)
                QCOMPARE(dir.backup(), backup);
        }
        qInfo("%lld faults while writing the file", count + whole.size());
    }

    // Turning encryption on, stopped just before and just after each rename and removal
    // (every operation from there on fails, as if the program were killed): the next start
    // finds one whole set, plain or encrypted, and turning it off gives back the same bytes.
    void turnOnStoppedAtEachStepLeavesOneWholeSet()
    {
        const QByteArray data = SaveStateBytes(2), backup = SaveStateBytes(1);
        const QString password = u"鍵のかかる引き出し"_s;
        auto turnOn = [&](ProgramDir& dir, int from) {
            auto session = OpenedSession(dir.path());
            FaultShim::Watch(dir.path().toStdString());
            FaultShim::FailFrom(from);
            session->TurnOnEncryption(password);
            const std::string log = FaultShim::Log();
            FaultShim::Stop();
            return log;
        };
        ProgramDir clean(data, backup);
        std::istringstream log(turnOn(clean, 0));
        std::vector<int> stops{1};
        int n = 0;
        for (std::string line; std::getline(log, line);) {
            if (line.starts_with(' '))
                continue;
            ++n;
            if (line.starts_with("rename") || line.starts_with("link") ||
                line.starts_with("unlink"))
                stops.insert(stops.end(), {n, n + 1});
        }
        QVERIFY(stops.size() >= 9);
        for (const int from : stops) {
            ProgramDir dir(data, backup);
            const std::string steps = turnOn(dir, from);
            RemoveLeftovers(dir.path());
            const DataSession::Answers answers{.password = password, .importPlain = false};
            auto opened = DataSession::Open(dir.path(), {0, 0}, u"新規グループ"_s, answers);
            auto* session = std::get_if<DataSession>(&opened);
            QVERIFY2(session, steps.c_str());
            QCOMPARE(session->Table(), SaveState(2));
            QVERIFY(!session->TurnOffEncryption());
            // A turn-on stopped between its renames leaves the sealed backup beside the
            // plain set, which opens; the next turn-on writes it again.
            QStringList files = QDir(dir.path()).entryList(QDir::Files);
            files.removeOne(u"Cofferly.Enc.bak"_s);
            QCOMPARE(files, (QStringList{u"Cofferly.bak"_s, u"Cofferly.Dat"_s}));
            QCOMPARE(dir.data(), data);
            QCOMPARE(dir.backup(), backup);
        }
        qInfo("%zu stopping points tried", stops.size());
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
