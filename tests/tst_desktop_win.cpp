// The Windows side of the platform layer, seen through Windows' own API: what reaches the
// clipboard, the topmost style of the window, a failed hand-over to the shell, and the
// hardened process.
#include "platform/clipboard.h"
#include "platform/hardening.h"
#include "platform/screen_capture.h"
#include "platform/stays_on_top.h"
#include "platform/url_opener.h"
#include "resources/texts.h"
#include "support/desktop_probe.h"

#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <tuple>

using namespace Qt::Literals::StringLiterals;

class TestDesktopWin : public QObject {
    Q_OBJECT
private slots:
    // Win+V history, the cloud clipboard and clipboard monitors are told to keep nothing.
    void copiedTextIsKeptOutOfHistoryAndMonitors()
    {
        Clipboard::Put(u"pass パス"_s);
        QCOMPARE(DesktopProbe::ClipboardText(), u"pass パス"_s);
        QCOMPARE(DesktopProbe::ClipboardDword(u"CanIncludeInClipboardHistory"_s).value_or(1), 0u);
        QCOMPARE(DesktopProbe::ClipboardDword(u"CanUploadToCloudClipboard"_s).value_or(1), 0u);
        QVERIFY(DesktopProbe::ClipboardDword(u"ExcludeClipboardContentFromMonitorProcessing"_s));
    }

    // The text the program put there is ours while nothing else has touched the clipboard,
    // even when another program has read it; the same text put there by another program is
    // not. The clear leaves the clipboard empty.
    void clipboardHeldByChangeCount()
    {
        Clipboard::Put(u"pass パス"_s);
        QVERIFY(Clipboard::HoldsOurs());
        QCOMPARE(DesktopProbe::ClipboardText(), u"pass パス"_s);
        QVERIFY(Clipboard::HoldsOurs());
        DesktopProbe::SetClipboardText(u"pass パス"_s);
        QVERIFY(!Clipboard::HoldsOurs());
        Clipboard::Put(u"again"_s);
        QVERIFY(Clipboard::HoldsOurs());
        Clipboard::Clear();
        QVERIFY(!Clipboard::HoldsOurs());
        QCOMPARE(DesktopProbe::ClipboardText(), QString());
    }

    // Left out of captures where Windows can, else black in them, else unprotected; shown
    // when the user allows it. Each case: allow, the affinity Windows takes, the tries made.
    void screenCaptureTriesInOrder()
    {
        using A = ScreenCapture::Affinity;
        using O = ScreenCapture::Outcome;
        const std::tuple<bool, int, QString, O> cases[] = {{false, 2, u"2"_s, O::LeftOut},
                                                           {false, 1, u"21"_s, O::Black},
                                                           {false, -1, u"21"_s, O::Unprotected},
                                                           {true, 0, u"0"_s, O::Allowed},
                                                           {true, -1, u"0"_s, O::Unprotected}};
        for (const auto& [allow, taken, tries, outcome] : cases) {
            QString tried;
            const O got = ScreenCapture::Decide(allow, [&](A affinity) {
                tried += QString::number(int(affinity));
                return int(affinity) == taken;
            });
            QCOMPARE(tried, tries);
            QCOMPARE(got, outcome);
        }
    }

    // The call on a real window: what it answers is what Windows then reports. (Wine takes
    // no affinity at all, so there the window comes out unprotected.)
    void screenCaptureOnTheWindow()
    {
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        using O = ScreenCapture::Outcome;
        const O outcome = ScreenCapture::Set(&window, false);
        const quint32 affinity = DesktopProbe::DisplayAffinity(window.winId());
        qInfo("outcome %d, affinity %u", int(outcome), affinity);
        QVERIFY(outcome != O::NotAvailable && outcome != O::Allowed);
        QCOMPARE(affinity, outcome == O::LeftOut ? 0x11u : outcome == O::Black ? 1u : 0u);
        if (outcome != O::Unprotected) {
            QCOMPARE(ScreenCapture::Set(&window, true), O::Allowed);
            QCOMPARE(DesktopProbe::DisplayAffinity(window.winId()), 0u);
        }
    }

    // TOP is WS_EX_TOPMOST on the live window, which neither moves nor changes size.
    void topIsTheTopmostStyle()
    {
        QWidget window;
        window.setGeometry(120, 140, 300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect before = window.geometry();
        QVERIFY(!DesktopProbe::IsTopmost(window.winId()));
        StaysOnTop::Set(&window, true);
        QTRY_VERIFY(DesktopProbe::IsTopmost(window.winId()));
        StaysOnTop::Set(&window, false);
        QTRY_VERIFY(!DesktopProbe::IsTopmost(window.winId()));
        QCOMPARE(window.geometry(), before);
    }

    // ShellExecute's failure comes back from the event loop, with its reason.
    void failedOpenIsReportedWithItsReason()
    {
        QTemporaryDir dir;
        QObject context;
        QStringList reasons;
        const QString missing = QDir::toNativeSeparators(dir.filePath(u"none.txt"_s));
        QVERIFY(!StartOpener({}, missing, &context,
                             [&reasons](const QString& reason) { reasons << reason; }));
        QVERIFY(reasons.isEmpty());
        QTRY_COMPARE(reasons, QStringList{Texts::OpenerNoSuchFile});
    }

    // Last, as it cannot be undone: no crash dialog, and libraries from the system folder
    // only, not the program's own folder.
    void hardenedProcess()
    {
        QVERIFY(DesktopProbe::LoadsLibrary(u"cofferly_dll_probe.dll"_s));
        HardenProcess();
        QVERIFY(DesktopProbe::ShowsNoErrorDialogs());
        QVERIFY(!DesktopProbe::LoadsLibrary(u"cofferly_dll_probe.dll"_s));
        QVERIFY(DesktopProbe::LoadsLibrary(u"version.dll"_s));
    }
};

QTEST_MAIN(TestDesktopWin)
#include "tst_desktop_win.moc"
