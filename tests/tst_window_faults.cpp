// The main window over a disk that fails: a save that fails shows one message naming the
// file and the reason and leaves every stored entry as it was. At a commit the program goes
// on with what the user typed or ordered, to try again; at the close or the start it ends.
#include "faults/fault_shim.h"
#include "faults/fault_support.h"
#include "main_window/fm_cofferly.h"
#include "resources/texts.h"
#include "sort_window/frm_sort.h"
#include "sort_window/sort_list.h"
#include "support/test_support.h"
#include "support/window_driver.h"

#include <QClipboard>
#include <QtTest>
#include <cerrno>
#include <csignal>
#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QList<QStringList> kEntries = {{u"銀行"_s, u"山田"_s, u"p-w-1"_s, u"https://bank.example"_s},
                                     {u"グループ"_s, {}, {}, {}},
                                     {u"メール"_s, u"taro"_s, u"ﾊﾟｽ-2"_s, {}}};

// When a file operation failed: at the start no window came, at a commit the program goes
// on, at the close it ends with 1.
enum class Failed { AtStart, AtCommit, AtClose };

// The one message a failed file operation shows: critical, with the file's path and the
// reason; a commit's message says the change is not saved.
QString CheckFailureShown(const RecordingDesktop& desktop, const ProgramDir& dir,
                          const QString& reason, Failed when)
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
    if (when == Failed::AtClose && desktop.endCodes != QList<int>{1})
        return u"the program did not end with 1"_s;
    if (when != Failed::AtClose && !desktop.endCodes.isEmpty())
        return u"the program ended by the window"_s;
    // What the commit message says after its reason: nothing saved, try again.
    const QString commitTail = Texts::CommitWriteFailed.section(u"%2"_s, 1);
    if ((when == Failed::AtCommit) != m.text.endsWith(commitTail))
        return u"not the commit message: "_s + m.text;
    return {};
}

// Every stored entry is there when the program starts again.
QString CheckNothingLost(const ProgramDir& dir)
{
    RecordingDesktop desktop;
    OpenedWindow again(dir.path(), desktop);
    if (!again)
        return u"the next start failed"_s;
    const QList<QStringList> read = TestFiles::AsLists(again->Table());
    if (read.size() != kEntries.size())
        return u"%1 entries after the restart"_s.arg(read.size());
    for (int i = 1; i <= read.size(); ++i) {
        if (read[i - 1] != kEntries[i - 1])
            return u"entry %1 changed"_s.arg(i);
    }
    return {};
}

} // namespace

class TestWindowFaults : public QObject {
    Q_OBJECT
private slots:
    // The disk fills up after N bytes of the save an edit commit makes, for every N: the
    // edit stays open with what was typed, and a retry on a freed disk saves it.
    void editCommitOnAFullDisk()
    {
        const QByteArray before = TestFiles::Make(1500, 3000, kEntries);
        const QString noSpace = qt_error_string(ENOSPC);
        long long total = -1;
        for (long long n = 0; total < 0 || n < total; ++n) {
            MainWindowFixture f(kEntries);
            auto [dir, desktop, w] = f.Parts();
            w.Bt_Edit_Click();
            w.Controls().Tx_Data[3]->setText(u"https://bank.example/新しい"_s);
            const QStringList typed = WindowDriver::TextsInPanel(w);
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
            const QString at = u"after %1 bytes: "_s.arg(n);
            QVERIFY2(!w.Ended(), qPrintable(at));
            QString problem = CheckFailureShown(desktop, dir, noSpace, Failed::AtCommit);
            QVERIFY2(problem.isEmpty(), qPrintable(at + problem));
            QVERIFY(desktop.messages[0].text.contains(Texts::ReasonDiskFull));
            QCOMPARE(w.CurrentMode(), Fm_Cofferly::Mode::Editing);
            QCOMPARE(WindowDriver::TextsInPanel(w), typed);
            QCOMPARE(TestFiles::AsLists(w.Table()), kEntries);
            QCOMPARE(dir.data(), before);
            QVERIFY(!QFileInfo::exists(dir.backupPath()));
            QVERIFY(StrayFiles(dir.path()).isEmpty());
            problem = CheckNothingLost(dir);
            QVERIFY2(problem.isEmpty(), qPrintable(at + problem));

            // The disk has room again: the same commit saves what was typed.
            w.Bt_OK_Click(0);
            QCOMPARE(desktop.messages.size(), 1);
            QCOMPARE(w.CurrentMode(), Fm_Cofferly::Mode::Browsing);
            QVERIFY(!w.InCopyRun());
            auto edited = kEntries;
            edited[0] = typed;
            QCOMPARE(dir.data(), WindowDriver::FileFor(w, edited));
            QCOMPARE(dir.backup(), before);
            QVERIFY(StrayFiles(dir.path()).isEmpty());
        }
        qInfo("%lld byte counts tried", total);
    }

    // Closing saves once; a failure is reported and ends the program, and the end clears
    // what the window put on the clipboard.
    void closeOnAFailingDisk()
    {
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        const QByteArray& before = f.before;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseClick(w.Controls().Bt_Clip[1], Qt::LeftButton, Qt::ShiftModifier);
        QVERIFY(!QGuiApplication::clipboard()->text().isEmpty());
        FaultShim::Watch(dir.path().toStdString());
        FaultShim::FailFrom(1);
        w.close();
        const int failures = FaultShim::Failures();
        FaultShim::Stop();
        QCOMPARE(failures, 1);
        const QString problem =
            CheckFailureShown(desktop, dir, qt_error_string(EIO), Failed::AtClose);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(dir.data(), before);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
        QVERIFY(CheckNothingLost(dir).isEmpty());
        f.opened.reset();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    }

    // A real file-size limit, as a full disk: the message carries the system's reason.
    void fileSizeLimitIsReported()
    {
        std::signal(SIGXFSZ, SIG_IGN);
        QList<QStringList> many = kEntries;
        for (int i = 0; i < 40; ++i)
            many << QStringList{u"項目%1"_s.arg(i), u"user"_s, u"pw"_s, u"https://example.jp"_s};
        MainWindowFixture f(many);
        auto [dir, desktop, w] = f.Parts();
        const QByteArray& before = f.before;
        w.Bt_Edit_Click();
        w.Controls().Tx_Data[1]->setText(u"新しいID"_s);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = rlim_t(before.size() / 2);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        w.Bt_OK_Click(0);
        setrlimit(RLIMIT_FSIZE, &saved);
        const QString problem =
            CheckFailureShown(desktop, dir, qt_error_string(EFBIG), Failed::AtCommit);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(dir.data(), before);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
        QVERIFY(StrayFiles(dir.path()).isEmpty());
        QCOMPARE(w.CurrentMode(), Fm_Cofferly::Mode::Editing);
        QCOMPARE(w.Controls().Tx_Data[1]->text(), u"新しいID"_s);
        w.Bt_OK_Click(0);
        many[0][1] = u"新しいID"_s;
        QCOMPARE(dir.data(), WindowDriver::FileFor(w, many));
        QCOMPARE(dir.backup(), before);
        QCOMPARE(desktop.messages.size(), 1);
    }

    // Every kind of commit whose save fails, even on its first file operation: one message,
    // the program goes on with the entries as they were, and trying again once the disk
    // works saves the change.
    void failedCommitCanBeRetried_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"add", "edit", "delete", "sort"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

    void failedCommitCanBeRetried()
    {
        QFETCH(QString, kind);
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        const QStringList typed{u"新規"_s, u"id-x"_s, u"pw"_s, {}};
        QList<QStringList> changed = kEntries;
        FaultShim::Watch(dir.path().toStdString());
        FaultShim::FailFrom(1);
        if (kind == u"add" || kind == u"edit") {
            if (kind == u"add") {
                w.Bt_Add_Click();
                changed.insert(1, typed);
            } else {
                w.Bt_Edit_Click();
                changed[0] = typed;
            }
            WindowDriver::SetPanel(w, typed);
            w.Bt_OK_Click(0);
            QCOMPARE(w.CurrentMode(),
                     kind == u"add" ? Fm_Cofferly::Mode::Adding : Fm_Cofferly::Mode::Editing);
            QCOMPARE(WindowDriver::TextsInPanel(w), typed);
            FaultShim::Stop();
            w.Bt_OK_Click(0);
        } else if (kind == u"delete") {
            desktop.answers = {MessageRequest::Answer::Yes, MessageRequest::Answer::Ok,
                               MessageRequest::Answer::Yes};
            w.Controls().IComboTitle->SelectItem(2);
            w.Bt_Del_Click();
            QCOMPARE(w.Controls().IComboTitle->SelectedIndex(), 2);
            QCOMPARE(w.Controls().IComboTitle->ListCount(), 3);
            FaultShim::Stop();
            w.Bt_Del_Click();
            changed.removeAt(1);
            QCOMPARE(desktop.messages.size(), 3); // asked, failed, asked again
            desktop.messages.removeIf(
                [](const MessageRequest& m) { return m.icon == QMessageBox::Question; });
        } else {
            // The sort window saves a move, the save fails, and the window comes back with its
            // order; saved again once the disk works.
            QList<QStringList> shownAgain;
            std::unique_ptr<ActOnModal<frmSort>> retry;
            ActOnModal<frmSort> move([&](frmSort* sort) {
                sort->Controls().ListView1->setCurrentItem(
                    sort->Controls().ListView1->topLevelItem(0));
                sort->itemDown_Click();
                retry = std::make_unique<ActOnModal<frmSort>>([&](frmSort* again) {
                    shownAgain = TestFiles::AsLists(again->Rows());
                    FaultShim::Stop();
                    again->CmdOK_Click(0);
                });
                sort->CmdOK_Click(0);
            });
            QVERIFY(WindowDriver::ShowActive(w));
            w.cmdSort_Click();
            QVERIFY(move.Acted());
            QVERIFY(retry && retry->Acted());
            changed.swapItemsAt(0, 1);
            QCOMPARE(shownAgain, changed);
        }
        FaultShim::Stop();
        QVERIFY(!w.Ended());
        const QString problem =
            CheckFailureShown(desktop, dir, qt_error_string(EIO), Failed::AtCommit);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        VERIFY_BROWSING(w);
        VERIFY_STORED(w, dir, changed);
        QCOMPARE(dir.backup(), f.before);
        QVERIFY(StrayFiles(dir.path()).isEmpty());
    }

    // After a failed commit もどる leaves the mode; nothing is saved.
    void backAfterAFailedCommit()
    {
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        w.Bt_Edit_Click();
        w.Controls().Tx_Data[0]->setText(u"変更"_s);
        FaultShim::Watch(dir.path().toStdString());
        FaultShim::FailFrom(1);
        w.Bt_OK_Click(0);
        FaultShim::Stop();
        QCOMPARE(desktop.messages.size(), 1);
        w.Bt_OK_Click(1);
        VERIFY_BROWSING(w);
        QCOMPARE(TestFiles::AsLists(w.Table()), kEntries);
        w.close();
        QVERIFY(CheckNothingLost(dir).isEmpty());
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
        QCOMPARE(desktop.messages.size(), 1);
        QVERIFY(desktop.endCodes.isEmpty());
    }

    // A start whose data file cannot be read shows the message and writes nothing.
    void startOnAFailingDisk()
    {
        const QByteArray before = TestFiles::Make(1500, 3000, kEntries);
        ProgramDir dir(before);
        RecordingDesktop desktop;
        FaultShim::Watch(dir.path().toStdString());
        FaultShim::FailFrom(2); // the file opens, then reading fails
        const bool started = bool(OpenedWindow(dir.path(), desktop));
        FaultShim::Stop();
        QVERIFY(!started);
        const QString problem =
            CheckFailureShown(desktop, dir, qt_error_string(EIO), Failed::AtStart);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(dir.data(), before);
        QVERIFY(CheckNothingLost(dir).isEmpty());
    }
};

QTEST_MAIN(TestWindowFaults)
#include "tst_window_faults.moc"
