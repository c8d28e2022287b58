// LoadData and SaveData against real files in a program directory of their own.
#include "store/load_save.h"
#include "support/test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The window side of the two procedures, without a window.
class FakeHost : public DataHost {
public:
    explicit FakeHost(QString dir) : dir_(std::move(dir)) {}
    QString ProgramDirectory() const override { return dir_; }
    DataFile::Position WindowPosition() const override { return position; }
    void MoveWindow(DataFile::Position p) override
    {
        position = p;
        ++moves;
    }
    void ClearTitles() override
    {
        titles.clear();
        selected = 0;
    }
    void AppendTitle(const QString& text, ItemImage image, int indent) override
    {
        titles << QStringLiteral("%1|%2|%3").arg(text).arg(int(image)).arg(indent);
    }
    void SelectTitle(int index) override { selected = index; }

    DataFile::Position position{1500, 3000};
    QStringList titles;
    int selected = 0;
    int moves = 0;

private:
    QString dir_;
};

} // namespace

class TestLoadSave : public QObject {
    Q_OBJECT
private slots:
    void createsTheDefaultFileWhenThereIsNone()
    {
        ProgramDir dir;
        FakeHost host(dir.path());
        EntryTable table;
        QVERIFY(!LoadData(table, host));
        QCOMPARE(dir.data(),
                 QByteArray("1500,3000\r\n\"\x90\x56\x8B\x4B\x83\x4F\x83\x8B\x81\x5B\x83\x76\"\r\n"
                            "\"\"\r\n\"\"\r\n\"\"\r\n"));
        QCOMPARE(table.DataCount, 1);
        QCOMPARE(table.DataTitle[1], u"新規グループ"_s);
        QCOMPARE(host.titles, QStringList{u"新規グループ|1|0"_s});
        QCOMPARE(host.selected, 1);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
    }

    void loadsEntriesWithImagesAndIndents()
    {
        ProgramDir dir;
        dir.writeData(TestFiles::Make(150, 300,
                                      {{u"Group"_s, {}, {}, {}},
                                       {u"Mail"_s, u"me"_s, {}, {}},
                                       {u"Site"_s, {}, {}, u"https://x"_s}}));
        FakeHost host(dir.path());
        EntryTable table;
        table.DataCount = 7; // whatever an earlier load left is replaced
        host.titles << u"stale"_s;
        QVERIFY(!LoadData(table, host));
        QCOMPARE(table.DataCount, 3);
        QCOMPARE(host.titles, QStringList({u"Group|1|0"_s, u"Mail|2|1"_s, u"Site|2|1"_s}));
        QCOMPARE(host.selected, 1);
        QCOMPARE(host.position.top, 150.0);
        QCOMPARE(host.position.left, 300.0);
    }

    void emptyTableSelectsNothing()
    {
        ProgramDir dir;
        dir.writeData("0,0\r\n");
        FakeHost host(dir.path());
        EntryTable table;
        QVERIFY(!LoadData(table, host));
        QCOMPARE(table.DataCount, 0);
        QVERIFY(host.titles.isEmpty());
        QCOMPARE(host.selected, 0);
    }

    // Whether a position lies on a screen is for the window to judge: the loader hands
    // over what the file holds, however far out.
    void storedPositionGoesToTheWindowAsItIs_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("left");
        QTest::newRow("on the screen") << QByteArray("16200,28800") << 16200.0 << 28800.0;
        QTest::newRow("far below") << QByteArray("160201,100") << 160201.0 << 100.0;
        QTest::newRow("far left and above") << QByteArray("-15000,-15000") << -15000.0 << -15000.0;
    }
    void storedPositionGoesToTheWindowAsItIs()
    {
        QFETCH(QByteArray, record);
        QFETCH(double, top);
        QFETCH(double, left);
        ProgramDir dir;
        dir.writeData(record + "\r\n");
        FakeHost host(dir.path());
        EntryTable table;
        QVERIFY(!LoadData(table, host));
        QCOMPARE(host.moves, 1);
        QCOMPARE(host.position.top, top);
        QCOMPARE(host.position.left, left);
    }

    void appDirAddsOneSeparator()
    {
        QCOMPARE(AppDir(u"/"_s), u"/"_s);
        QCOMPARE(AppDir(u"/opt/cofferly"_s), u"/opt/cofferly/"_s);
        QCOMPARE(AppDir(u"/opt/cofferly/"_s), u"/opt/cofferly/"_s);
    }

    void saveRotatesTheBackupAndWritesTheTable()
    {
        ProgramDir dir;
        const QByteArray before = TestFiles::Make(0, 0, TestFiles::NumberedEntries(3));
        dir.writeData(before);
        FakeHost host(dir.path());
        EntryTable table;
        QVERIFY(!LoadData(table, host));
        table.DataTitle[2] = u"Renamed"_s;
        host.position = {-45, 75};
        QVERIFY(!SaveData(table, host));
        QCOMPARE(dir.backup(), before);
        auto entries = TestFiles::NumberedEntries(3);
        entries[1][0] = u"Renamed"_s;
        QCOMPARE(dir.data(), TestFiles::Make(-45, 75, entries));
        // A second save without change leaves the backup equal to the data file.
        QVERIFY(!SaveData(table, host));
        QCOMPARE(dir.backup(), dir.data());
    }

    void filesAreReadableByTheOwnerOnly()
    {
        ProgramDir dir;
        FakeHost host(dir.path());
        EntryTable table;
        QVERIFY(!LoadData(table, host));
        const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        auto mode = [](const QString& p) {
            return QFileInfo(p).permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser);
        };
        QCOMPARE(mode(dir.dataPath()), ownerOnly);
        // A file left readable by others is tightened by the next save.
        QFile(dir.dataPath())
            .setPermissions(ownerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        QVERIFY(!SaveData(table, host));
        QCOMPARE(mode(dir.dataPath()), ownerOnly);
        QCOMPARE(mode(dir.backupPath()), ownerOnly);
    }

    void damagedFileIsReportedAndLeftAlone()
    {
        ProgramDir dir;
        const QByteArray cut("0,0\r\n\"t\"\r\n\"i\"\r\n");
        dir.writeData(cut);
        FakeHost host(dir.path());
        EntryTable table;
        const auto error = LoadData(table, host);
        QVERIFY(error);
        QCOMPARE(error->path, dir.dataPath());
        QVERIFY(!error->reason.isEmpty());
        QCOMPARE(dir.data(), cut);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
    }

    void dataFileThatIsADirectoryIsReported()
    {
        ProgramDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"Cofferly.Dat"_s));
        FakeHost host(dir.path());
        EntryTable table;
        const auto loadError = LoadData(table, host);
        QVERIFY(loadError);
        QCOMPARE(loadError->path, dir.dataPath());
        table.DataCount = 1;
        QVERIFY(SaveData(table, host));
        QVERIFY(QFileInfo(dir.dataPath()).isDir());
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
    }

    // A write that stops part way (here at a file-size limit) leaves both files as they were.
    void failedSaveLeavesBothFilesAsTheyWere()
    {
        std::signal(SIGXFSZ, SIG_IGN);
        ProgramDir dir;
        const QByteArray before = TestFiles::Make(0, 0, TestFiles::NumberedEntries(2));
        dir.writeData(before);
        TestFiles::Write(dir.backupPath(), "older backup");
        FakeHost host(dir.path());
        EntryTable table;
        QVERIFY(!LoadData(table, host));
        table.DataCount = 150;
        for (int i = 3; i <= 150; ++i)
            table.DataTitle[i] = QString(40, u'x');

        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        for (rlim_t limit : {rlim_t(0), rlim_t(50), rlim_t(before.size()), rlim_t(4000)}) {
            rlimit small = saved;
            small.rlim_cur = limit;
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
            const auto error = SaveData(table, host);
            setrlimit(RLIMIT_FSIZE, &saved);
            QVERIFY2(error, qPrintable(QString::number(limit)));
            QCOMPARE(error->kind, StoreError::Kind::Write);
            QCOMPARE(dir.data(), before);
            QCOMPARE(dir.backup(), QByteArray("older backup"));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporaries left
        }
    }
};

QTEST_GUILESS_MAIN(TestLoadSave)
#include "tst_load_save.moc"
