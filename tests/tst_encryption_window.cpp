// Encryption as the user meets it in the window: the lock and its idle time, and the menu's
// commands with their dialogs.
#include "platform/clipboard.h"
#include "platform/password_dialog.h"
#include "resources/encryption_texts.h"
#include "resources/texts.h"
#include "support/window_driver.h"

#include <QLineEdit>
#include <QMenu>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using Answer = MessageRequest::Answer;

namespace {

const QString kPassword = u"correct horse 9"_s;
const QString kEsc = u"<esc>"_s;

// Answers each password dialog that opens with the next of `typed` (kEsc presses Esc) as a
// user types: where the focus starts, Tab, the second field, Enter. `check` sees each first.
struct PasswordTyping {
    PasswordTyping(
        QStringList typed, std::function<void()> check = [] {})
    {
        QObject::connect(&poll, &QTimer::timeout, [this, typed, check]() mutable {
            auto* dialog = qobject_cast<PasswordDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isActiveWindow() || typed.isEmpty())
                return;
            titles << dialog->windowTitle();
            check();
            const QString text = typed.takeFirst();
            const auto fields = text == kEsc ? 0 : dialog->findChildren<QLineEdit*>().size();
            for (qsizetype i = 0; i < fields; ++i) {
                if (i > 0)
                    QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
                WindowDriver::TypeText(dialog->focusWidget(), text);
            }
            QTest::keyClick(dialog->focusWidget(), text == kEsc ? Qt::Key_Escape : Qt::Key_Return);
        });
        poll.start(10);
    }
    QStringList titles;
    QTimer poll;
};

QAction* MenuEntry(const Fm_Cofferly& w, const QString& caption)
{
    for (QAction* action : w.Menu()->actions())
        if (action->text() == caption)
            return action;
    return nullptr;
}

} // namespace

class TestEncryptionWindow : public QObject {
    Q_OBJECT
private slots:
    // Ctrl+L or the set idle minutes (never while plain) lock: the window, the panel and the
    // clipboard empty, the key wiped; a wrong password says so, the right one brings back the
    // entry or the texts typed in a mode, キャンセル ends the program unsaved.
    void theLockHidesTheEntries_data()
    {
        QTest::addColumn<bool>("idle");
        QTest::addColumn<QStringList>("typed");
        QTest::newRow("wrong, then right") << false << QStringList{u"wrong"_s, kPassword};
        QTest::newRow("Esc") << false << QStringList{kEsc};
        QTest::newRow("idle in a mode") << true << QStringList{kPassword};
    }
    void theLockHidesTheEntries()
    {
        QFETCH(bool, idle);
        QFETCH(QStringList, typed);
        MainWindowFixture plain(TestFiles::NumberedEntries(2));
        plain.w->ApplySettings({.lockAfterMinutes = 1});
        QVERIFY(!plain.w->Idle().Watching());
        QVERIFY(As<QStringList>(OpenedSession(plain.dir.path())->TurnOnEncryption(kPassword)));
        PasswordTyping start({kPassword});
        OpenedWindow w(plain.dir.path(), plain.desktop);
        w->ApplySettings({.lockAfterMinutes = 1});
        QVERIFY(w->Idle().Remaining() > 59000 && WindowDriver::ShowActive(*w));
        WindowDriver::Pick(*w, 2);
        const QStringList texts{u"New"_s, u"me"_s, u"secret"_s, {}};
        if (idle) {
            WindowDriver::EnterMode(*w, true);
            WindowDriver::Type(*w, texts);
        } else {
            WindowDriver::Click(w->Controls().Bt_Clip[1]);
        }
        const QByteArray before = TestFiles::Read(plain.dir.path() + u"/Cofferly.Enc"_s);
        PasswordTyping typing(typed, [&] {
            QCOMPARE(w->Controls().IComboTitle->ListCount(), 0);
            QCOMPARE(WindowDriver::Displayed(*w) + WindowDriver::TextsInPanel(*w),
                     QStringList(8, QString()));
            QVERIFY(!Clipboard::HoldsOurs() && w->Controls().LbClipBoard->text().isEmpty());
            QVERIFY(w.session->Locked() && !w->Idle().Watching());
        });
        if (idle)
            w->IdleWatch_Idle();
        else
            QTest::keyClick(w.window.get(), Qt::Key_L, Qt::ControlModifier);
        const bool unlocked = typed.last() == kPassword;
        QCOMPARE(typing.titles, QStringList(typed.size(), Texts::PasswordCaption));
        QCOMPARE(plain.desktop.messages.size(), typed.size() - 1);
        QCOMPARE(plain.desktop.endCodes, unlocked ? QList<int>{} : QList<int>{0});
        if (idle)
            QCOMPARE(WindowDriver::TextsInPanel(*w), texts);
        else
            QCOMPARE(WindowDriver::Displayed(*w).first(), unlocked ? u"id-2"_s : QString());
        QCOMPARE(w->Idle().Watching(), unlocked);
        w->close();
        QVERIFY(unlocked || TestFiles::Read(plain.dir.path() + u"/Cofferly.Enc"_s) == before);
    }

    // On from the menu (a short password warned about, then a long one), the legacy file out
    // and back in, and off again: each reaches the session and changes the menu.
    void theMenuTurnsEncryptionOnAndOff()
    {
        MainWindowFixture f(TestFiles::NumberedEntries(2));
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w) && !MenuEntry(w, Texts::LockCommand)->isVisible());
        desktop.answers = {Answer::No};
        PasswordTyping typing({u"short"_s, kPassword});
        MenuEntry(w, Texts::EncryptCommand)->trigger();
        QCOMPARE(typing.titles, QStringList(2, Texts::EncryptCaption));
        QCOMPARE(desktop.messages.first().title, Texts::ShortPasswordTitle);
        QVERIFY(f.opened->session->Encrypted() && MenuEntry(w, Texts::LockCommand)->isVisible());
        QTemporaryDir elsewhere;
        const QString legacy = elsewhere.filePath(u"old.Dat"_s);
        desktop.answers = {Answer::Yes};
        desktop.files = {{legacy, 0}};
        MenuEntry(w, Texts::ExportLegacyCommand)->trigger();
        QVERIFY(QFileInfo::exists(legacy));
        TestFiles::Write(legacy, TestFiles::Make(0, 0, TestFiles::NumberedEntries(1)));
        desktop.answers = {Answer::Yes};
        desktop.files = {{legacy, 0}};
        MenuEntry(w, Texts::ImportLegacyCommand)->trigger();
        QCOMPARE(w.Table().size(), 1);
        desktop.answers = {Answer::Yes};
        MenuEntry(w, Texts::DecryptCommand)->trigger();
        QVERIFY(!f.opened->session->Encrypted() &&
                MenuEntry(w, Texts::EncryptCommand)->isVisible());
    }
};

QTEST_MAIN(TestEncryptionWindow)
#include "tst_encryption_window.moc"
