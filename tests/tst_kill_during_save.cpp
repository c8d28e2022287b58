// A process killed at random moments while it saves again and again: afterwards the data
// file and the backup are whole, readable, and each holds one save or the one before it.
#include "faults/fault_support.h"
#include "support/test_support.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <csignal>

namespace {

// The save a file holds: its position record carries the number. -1 when it is not
// exactly what that save writes.
int SaveNumberOf(const QByteArray& bytes)
{
    const auto parsed = DataFile::Parse(bytes);
    const auto* contents = std::get_if<DataFile::Contents>(&parsed);
    if (!contents)
        return -1;
    const int n = int(contents->position.top);
    return n >= 0 && SaveStateBytes(n) == bytes ? n : -1;
}

// How long one save takes here and now, in microseconds.
qint64 MicrosecondsPerSave()
{
    ProgramDir dir(SaveStateBytes(0));
    QProcess saver;
    QElapsedTimer clock;
    clock.start();
    saver.start(QStringLiteral(COFFERLY_SAVE_LOOP), {dir.path(), QStringLiteral("50")});
    if (!saver.waitForFinished(60000) || saver.exitCode() != 0)
        return -1;
    return clock.nsecsElapsed() / 1000 / 50;
}

} // namespace

class TestKillDuringSave : public QObject {
    Q_OBJECT
private slots:
    void killedAtRandomMoments()
    {
        const int trials = qEnvironmentVariableIntValue("COFFERLY_KILL_TRIALS") > 0
                               ? qEnvironmentVariableIntValue("COFFERLY_KILL_TRIALS")
                               : 300;
        // Kills spread over the first few saves, whatever the speed of the machine.
        const qint64 perSave = MicrosecondsPerSave();
        QVERIFY(perSave > 0);
        QRandomGenerator random(20261207);
        int savesSeen = 0, betweenTheTwoFiles = 0, strayTemporaries = 0;
        for (int trial = 0; trial < trials; ++trial) {
            ProgramDir dir(SaveStateBytes(0));
            QProcess saver;
            saver.start(QStringLiteral(COFFERLY_SAVE_LOOP), {dir.path()});
            QVERIFY(saver.waitForReadyRead(10000));
            QCOMPARE(saver.readLine().trimmed(), QByteArray("ready"));
            QThread::usleep(random.bounded(4 * perSave));
            ::kill(pid_t(saver.processId()), SIGKILL);
            QVERIFY(saver.waitForFinished(10000));
            QCOMPARE(saver.exitStatus(), QProcess::CrashExit);

            const int data = SaveNumberOf(dir.data());
            QVERIFY2(data >= 0, qPrintable(u"trial %1: data file not whole"_qs.arg(trial)));
            if (data > 0 || QFileInfo::exists(dir.backupPath())) {
                const int backup = SaveNumberOf(dir.backup());
                QVERIFY2(backup >= 0 && (backup == data - 1 || backup == data),
                         qPrintable(
                             u"trial %1: data %2, backup %3"_qs.arg(trial).arg(data).arg(backup)));
                betweenTheTwoFiles += backup == data;
            }
            savesSeen += data;
            // A kill between linking a temporary and renaming it leaves the temporary; it
            // holds passwords, and the next start removes it.
            strayTemporaries += int(StrayFiles(dir.path()).size());
            RemoveLeftovers(dir.path());
            QVERIFY2(StrayFiles(dir.path()).isEmpty(),
                     qPrintable(StrayFiles(dir.path()).join(u' ')));

            // The program starts over this directory and saves again as usual.
            auto session = OpenedSession(dir.path());
            QVERIFY(session);
            QVERIFY(std::holds_alternative<DataSession::SaveReport>(
                session->SaveData(session->StoredPosition(), session->Table())));
            QVERIFY(std::holds_alternative<DataSession::SaveReport>(
                session->SaveData(SavePosition(data + 1), SaveState(data + 1))));
            QCOMPARE(dir.data(), SaveStateBytes(data + 1));
            QCOMPARE(dir.backup(), SaveStateBytes(data));
        }
        qInfo("%d kills, one save taking %lld us, %d saves completed before them, %d kills "
              "between backup and data file, %d temporaries left",
              trials, perSave, savesSeen, betweenTheTwoFiles, strayTemporaries);
        // The kills must have landed during saving, not all before the first one.
        QVERIFY(savesSeen > trials / 2);
        QVERIFY(betweenTheTwoFiles > 0);
    }
};

QTEST_GUILESS_MAIN(TestKillDuringSave)
#include "tst_kill_during_save.moc"
