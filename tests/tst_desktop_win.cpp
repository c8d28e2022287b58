// The Windows side of the platform layer, seen through Windows' own API: what reaches the
// clipboard, the topmost style of the window, a failed hand-over to the shell, and the
// hardened process.
#include "platform/clipboard.h"
#include "platform/hardening.h"
#include "platform/stays_on_top.h"
#include "platform/url_opener.h"
#include "resources/texts.h"
#include "support/desktop_probe.h"

#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

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
