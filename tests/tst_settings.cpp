// The 設定 dialog over the main window, opened with its key: what OK confirms reaches the settings
// file and the window; Esc, an unchanged value and a file that cannot be written change nothing;
// the data file is never touched.
#include "main_window/settings_dialog.h"
#include "resources/texts.h"
#include "store/settings_file.h"
#include "store/store_files.h"
#include "support/system_files.h"
#include "support/window_driver.h"

#include <QCheckBox>
#include <QDir>
#include <QSpinBox>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void theDialogWritesOnlyWhatOkConfirms_data()
    {
        QTest::addColumn<QString>("typed"); // the screen capture box is ticked where there is one
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("blocked");    // a folder stands at the settings file's name
        QTest::addColumn<QByteArray>("file"); // empty: none written
        const bool offered = SettingsDialog::OffersScreenCapture();
        QTest::newRow("OK") << u"12"_s << int(Qt::Key_Return) << false
                            << "[Clipboard]\nClearAfterSeconds=12\n" +
                                   QByteArray(offered ? "\n[Window]\nAllowScreenCapture=true\n"
                                                      : "") +
                                   "\n[Security]\nLockAfterMinutes=5\n";
        QTest::newRow("Esc") << u"12"_s << int(Qt::Key_Escape) << false << QByteArray();
        QTest::newRow("OK, not written") << u"0"_s << int(Qt::Key_Return) << true << QByteArray();
        if (!offered)
            QTest::newRow("OK, unchanged")
                << u"30"_s << int(Qt::Key_Return) << false << QByteArray();
    }
    void theDialogWritesOnlyWhatOkConfirms()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(bool, blocked);
        QFETCH(QByteArray, file);
        MainWindowFixture f(TestFiles::NumberedEntries(2));
        auto [dir, desktop, w] = f.Parts();
        const QString path = SettingsFile::Path(dir.path());
        QVERIFY(!blocked || QDir(dir.path()).mkdir(StoreFiles::Settings));
        const quint64 identity = SystemFiles::Identity(dir.dataPath());
        QVERIFY(WindowDriver::ShowActive(w));
        ActOnModal<SettingsDialog> answer([&](SettingsDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), u"設定"_s);
            QCOMPARE(dialog->ClearAfter()->value(), 30);
            QCOMPARE(dialog->LockAfter()->text(), Texts::NeverLocked);
            dialog->LockAfter()->setValue(typed == u"30" ? 0 : 5);
            QCOMPARE(dialog->AllowCapture() != nullptr, SettingsDialog::OffersScreenCapture());
            if (dialog->AllowCapture())
                dialog->AllowCapture()->click();
            dialog->ClearAfter()->selectAll();
            QTest::keyClicks(dialog->ClearAfter(), typed);
            QTest::keyClick(dialog->ClearAfter(), Qt::Key(key));
        });
        // Its key, as the menu shows it.
        QTest::keyClick(&w, Qt::Key_Comma, Qt::ControlModifier);
        QVERIFY(answer.Acted());
        const Settings applied{file.isEmpty() ? 30 : typed.toInt(),
                               !file.isEmpty() && SettingsDialog::OffersScreenCapture(),
                               file.isEmpty() ? 0 : 5};
        QCOMPARE(w.CurrentSettings(), applied);
        QCOMPARE(QFileInfo(path).isFile() ? TestFiles::Read(path) : QByteArray(), file);
        QVERIFY(file.isEmpty() || SystemFiles::OwnerOnly(path));
        QCOMPARE(desktop.messages.size(), blocked ? 1 : 0);
        const QString& failed = Texts::SettingsWriteFailed;
        QVERIFY(!blocked ||
                desktop.messages.front().text.startsWith(failed.left(failed.indexOf(u"%1")) +
                                                         QDir::toNativeSeparators(path)));
        QCOMPARE(dir.data(), f.before);
        QCOMPARE(SystemFiles::Identity(dir.dataPath()), identity);
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
