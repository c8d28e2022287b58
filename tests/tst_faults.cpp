// Saves and loads whose file operations fail part way: after every fault both files are
// whole, hold their old or their new contents, no temporary is left and the failure is
// reported. The faults come from the fault shim this suite is linked with.
#include "faults/fault_shim.h"
#include "faults/fault_support.h"
#include "store/instance_lock.h"
#include "support/test_support.h"

#include <QtTest>
#include <cerrno>

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

    // Temporaries left behind, except those the system refused to remove.
    QString Strays(const std::string& log) const
    {
        QStringList stray = StrayFiles(dir.path());
        stray.removeIf([&](const QString& name) {
            const QString refused = u"unlink %1/%2\n  -> failed"_s.arg(dir.path(), name);
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
            s.Reset();
            FaultShim::Watch(s.dir.path().toStdString());
            FaultShim::FailAfterBytes(n);
            const auto error = s.Save();
            const int unsyncedLinks = FaultShim::UnsyncedLinks();
            FaultShim::Stop();
            QVERIFY2(StrayFiles(s.dir.path()).isEmpty(),
                     qPrintable(StrayFiles(s.dir.path()).join(u' ')));
            const QString state = s.Describe(error);
            const QString expected = n < total ? u"old"_s : u"new"_s;
            QVERIFY2(state == expected, qPrintable(u"after %1 bytes: "_s.arg(n) + state));
            QVERIFY2(CheckReport(s, error).isEmpty(), qPrintable(CheckReport(s, error)));
            QCOMPARE(unsyncedLinks, 0);
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
            s.Reset();
            FaultShim::Watch(s.dir.path().toStdString());
            FaultShim::FailOperation(k);
            const auto error = s.Save();
            const std::string log = FaultShim::Log();
            const int unsyncedLinks = FaultShim::UnsyncedLinks();
            FaultShim::Stop();
            const QString state = s.Describe(error);
            ++outcomes[state + u" after a failed "_s + FailedKind(log)];
            // A fault that does no harm need not fail the save: the new contents are whole.
            QVERIFY2(state == u"old"_s || state == u"new"_s,
                     qPrintable(u"operation %1: %2\n"_s.arg(k).arg(state) +
                                QString::fromStdString(log)));
            QVERIFY2(StrayFiles(s.dir.path()).isEmpty(),
                     qPrintable(StrayFiles(s.dir.path()).join(u' ')));
            QVERIFY2(CheckReport(s, error).isEmpty(), qPrintable(CheckReport(s, error)));
            QCOMPARE(unsyncedLinks, 0);
        }
        for (auto it = outcomes.cbegin(); it != outcomes.cend(); ++it)
            qInfo("%s: %d", qPrintable(it.key()), it.value());
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
                s.Reset();
                FaultShim::Watch(s.dir.path().toStdString());
                FaultShim::FailOperation(i);
                FaultShim::FailOperation(j);
                const auto error = s.Save();
                const std::string log = FaultShim::Log();
                const int unsyncedLinks = FaultShim::UnsyncedLinks();
                FaultShim::Stop();
                const QString state = s.Describe(error);
                ++outcomes[state];
                QVERIFY2(state == u"old"_s || state == u"new"_s || state == u"mixed"_s,
                         qPrintable(u"operations %1 and %2: %3\n"_s.arg(i).arg(j).arg(state) +
                                    QString::fromStdString(log)));
                QVERIFY2(s.Strays(log).isEmpty(), qPrintable(s.Strays(log)));
                QVERIFY2(CheckReport(s, error).isEmpty(), qPrintable(CheckReport(s, error)));
                QCOMPARE(unsyncedLinks, 0);
            }
        }
        for (auto it = outcomes.cbegin(); it != outcomes.cend(); ++it)
            qInfo("%s: %d", qPrintable(it.key()), it.value());
        qInfo("%d pairs of failing operations tried", trials);
    }

    // From some operation on, everything fails: a disk gone read-only or away.
    void everythingFailsFromEveryOperationOn()
    {
        Scene s;
        const int count = OperationsOfASave(s);
        QVERIFY(count > 0);
        for (int k = 1; k <= count; ++k) {
            s.Reset();
            FaultShim::Watch(s.dir.path().toStdString());
            FaultShim::FailFrom(k);
            const auto error = s.Save();
            const std::string log = FaultShim::Log();
            const int unsyncedLinks = FaultShim::UnsyncedLinks();
            FaultShim::Stop();
            const QString state = s.Describe(error);
            // Once the data file, the last, is renamed, only the folder's flush is left.
            const bool renamed = log.find("rename " + s.dir.dataPath().toStdString() + '\n') <
                                 log.find("  -> failed");
            QVERIFY2(state == u"old"_s || state == u"mixed"_s || (renamed && state == u"new"_s),
                     qPrintable(u"from operation %1: %2\n"_s.arg(k).arg(state) +
                                QString::fromStdString(log)));
            QVERIFY2(s.Strays(log).isEmpty(), qPrintable(s.Strays(log)));
            QVERIFY2(CheckReport(s, error).isEmpty(), qPrintable(CheckReport(s, error)));
            QCOMPARE(unsyncedLinks, 0);
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
        QVERIFY(std::holds_alternative<Loaded>(LoadData(s.dir.path())));
        const int count = FaultShim::Operations();
        FaultShim::Stop();
        QVERIFY(count > 0);
        for (int k = 1; k <= count; ++k) {
            FaultShim::Watch(s.dir.path().toStdString());
            FaultShim::FailOperation(k);
            const auto loaded = LoadData(s.dir.path());
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
};

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
