// The main window over a disk that fails: a commit or a close whose save fails shows one
// message naming the file and the reason, ends the program, and leaves every stored entry
// as it was, ready for the next start.
#include "faults/fault_shim.h"
#include "faults/fault_support.h"
#include "main_window/fm_cofferly.h"
#include "support/test_support.h"

#include <QtTest>
#include <cerrno>
#include <csignal>
#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QList<QStringList> kEntries = {{u"銀行"_s, u"山田"_s, u"p-w-1"_s, u"https://bank.example"_s},
                                     {u"グループ"_s, {}, {}, {}},
                                     {u"メール"_s, u"taro"_s, u"ﾊﾟｽ-2"_s, {}}};

// The one message a failed save shows: critical, with the file's path and the reason.
QString CheckFailureShown(const RecordingDesktop& desktop, const ProgramDir& dir,
                          const QString& reason)
{
    if (desktop.messages.size() != 1)
        return u"%1 messages"_s.arg(desktop.messages.size());
    const MessageRequest& m = desktop.messages[0];
    if (m.icon != QMessageBox::Critical)
        return u"not a critical message"_s;
    if (!m.text.contains(dir.dataPath()) && !m.text.contains(dir.backupPath()))
        return u"no file named: "_s + m.text;
    if (!m.text.contains(reason))
        return u"no reason given: "_s + m.text;
    if (desktop.endCodes != QList<int>{1})
        return u"the program did not end with 1"_s;
    return {};
}

// Every stored entry is there when the program starts again.
QString CheckNothingLost(const ProgramDir& dir)
{
    RecordingDesktop desktop;
    Fm_Cofferly again(dir.path(), desktop);
    if (again.Ended())
        return u"the next start failed"_s;
    const EntryTable& t = again.Table();
    if (t.DataCount != kEntries.size())
        return u"%1 entries after the restart"_s.arg(t.DataCount);
    for (int i = 1; i <= t.DataCount; ++i) {
        const QStringList e = kEntries[i - 1];
        if (QStringList{t.DataTitle[i], t.DataID[i], t.DataPW[i], t.DataURL[i]} != e)
            return u"entry %1 changed"_s.arg(i);
    }
    return {};
}

} // namespace

class TestWindowFaults : public QObject {
    Q_OBJECT
private slots:
    // The disk fills up after N bytes of the save an edit commit makes, for every N.
    void editCommitOnAFullDisk()
    {
        ProgramDir dir;
        const QByteArray before = TestFiles::Make(1500, 3000, kEntries);
        const QString noSpace = qt_error_string(ENOSPC);
        long long total = -1;
        for (long long n = 0; total < 0 || n < total; ++n) {
            QFile::remove(dir.backupPath());
            dir.writeData(before);
            RecordingDesktop desktop;
            Fm_Cofferly w(dir.path(), desktop);
            w.Bt_Edit_Click();
            w.Controls().Tx_Data[3]->setText(u"https://bank.example/新しい"_s);
            FaultShim::Watch(dir.path().toStdString());
            if (total >= 0)
                FaultShim::FailAfterBytes(n);
            w.Bt_OK_Click(0);
            const int writes = FaultShim::Operations();
            FaultShim::Stop();
            if (total < 0) { // the first round measures what a whole save writes
                QVERIFY(!w.Ended() && writes > 0);
                total = before.size() + dir.data().size();
                n = -1;
                continue;
            }
            QVERIFY2(w.Ended(), qPrintable(u"after %1 bytes"_s.arg(n)));
            QString problem = CheckFailureShown(desktop, dir, noSpace);
            QVERIFY2(problem.isEmpty(), qPrintable(u"after %1 bytes: "_s.arg(n) + problem));
            w.close(); // nothing more is written after the failure
            QCOMPARE(dir.data(), before);
            QVERIFY(!QFileInfo::exists(dir.backupPath()));
            QVERIFY(StrayFiles(dir.path()).isEmpty());
            problem = CheckNothingLost(dir);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
        qInfo("%lld byte counts tried", total);
    }

    // Closing saves twice; when the first save fails the second is not tried.
    void closeOnAFailingDisk()
    {
        ProgramDir dir;
        const QByteArray before = TestFiles::Make(1500, 3000, kEntries);
        dir.writeData(before);
        RecordingDesktop desktop;
        Fm_Cofferly w(dir.path(), desktop);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        FaultShim::Watch(dir.path().toStdString());
        FaultShim::FailFrom(1);
        w.close();
        const int failures = FaultShim::Failures();
        FaultShim::Stop();
        QCOMPARE(failures, 1);
        const QString problem = CheckFailureShown(desktop, dir, qt_error_string(EIO));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(dir.data(), before);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
        QVERIFY(CheckNothingLost(dir).isEmpty());
    }

    // A real file-size limit, as a full disk: the message carries the system's reason.
    void fileSizeLimitIsReported()
    {
        std::signal(SIGXFSZ, SIG_IGN);
        ProgramDir dir;
        QList<QStringList> many = kEntries;
        for (int i = 0; i < 40; ++i)
            many << QStringList{u"項目%1"_s.arg(i), u"user"_s, u"pw"_s, u"https://example.jp"_s};
        const QByteArray before = TestFiles::Make(1500, 3000, many);
        dir.writeData(before);
        RecordingDesktop desktop;
        Fm_Cofferly w(dir.path(), desktop);
        w.Bt_Edit_Click();
        w.Controls().Tx_Data[1]->setText(u"新しいID"_s);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = rlim_t(before.size() / 2);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        w.Bt_OK_Click(0);
        setrlimit(RLIMIT_FSIZE, &saved);
        const QString problem = CheckFailureShown(desktop, dir, qt_error_string(EFBIG));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(dir.data(), before);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
        QVERIFY(StrayFiles(dir.path()).isEmpty());
    }

    // A start whose data file cannot be read shows the message and writes nothing.
    void startOnAFailingDisk()
    {
        ProgramDir dir;
        const QByteArray before = TestFiles::Make(1500, 3000, kEntries);
        dir.writeData(before);
        RecordingDesktop desktop;
        FaultShim::Watch(dir.path().toStdString());
        FaultShim::FailFrom(2); // the file opens, then reading fails
        {
            Fm_Cofferly w(dir.path(), desktop);
            QVERIFY(w.Ended());
            w.close();
        }
        FaultShim::Stop();
        const QString problem = CheckFailureShown(desktop, dir, qt_error_string(EIO));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(dir.data(), before);
        QVERIFY(CheckNothingLost(dir).isEmpty());
    }
};

QTEST_MAIN(TestWindowFaults)
#include "tst_window_faults.moc"
