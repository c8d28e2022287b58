// Encryption as the user meets it: the password at the start, the lock and its idle time,
// and the menu's commands, through the window, its dialogs and the files they leave.
#include "platform/clipboard.h"
#include "platform/password_dialog.h"
#include "resources/encryption_texts.h"
#include "resources/texts.h"
#include "store/store_files.h"
#include "support/window_driver.h"

#include <QDir>
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

// Every file of the folder but the lock, with its bytes.
QMap<QString, QByteArray> Folder(const QString& path)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(path).entryList(QDir::Files | QDir::Hidden))
        if (name != StoreFiles::Lock)
            files[name] = TestFiles::Read(path + u'/' + name);
    return files;
}

QAction* MenuEntry(const Fm_Cofferly& w, const QString& caption)
{
    for (QAction* action : w.Menu()->actions())
        if (action->text() == caption)
            return action;
    return nullptr;
}

// A folder whose two entries are encrypted under kPassword.
void Encrypt(const ProgramDir& dir)
{
    auto session = OpenedSession(dir.path());
    QVERIFY(session && std::holds_alternative<QStringList>(session->TurnOnEncryption(kPassword)));
}

} // namespace

class TestEncryptionWindow : public QObject {
    Q_OBJECT
private slots:
    // The lock empties the window and the clipboard and wipes the key; a wrong password says
    // so, the right one brings back the entry shown, キャンセル ends the program unsaved.
    void theLockHidesTheEntries_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::newRow("wrong, then right") << QStringList{u"wrong"_s, kPassword};
        QTest::newRow("Esc") << QStringList{kEsc};
    }
    void theLockHidesTheEntries()
    {
        QFETCH(QStringList, typed);
        ProgramDir dir(TestFiles::Make(0, 0, TestFiles::NumberedEntries(2)));
        Encrypt(dir);
        RecordingDesktop desktop;
        PasswordTyping start({kPassword});
        OpenedWindow w(dir.path(), desktop);
        QVERIFY(w && WindowDriver::ShowActive(*w));
        WindowDriver::Pick(*w, 2);
        WindowDriver::Click(w->Controls().Bt_Clip[1]);
        const auto before = Folder(dir.path());
        PasswordTyping typing(typed, [&] {
            QCOMPARE(w->Controls().IComboTitle->ListCount(), 0);
            QCOMPARE(WindowDriver::Displayed(*w), QStringList(4, QString()));
            QVERIFY(!Clipboard::HoldsOurs() && w->Controls().LbClipBoard->text().isEmpty());
            QVERIFY(w.session->Locked());
        });
        QTest::keyClick(w.window.get(), Qt::Key_L, Qt::ControlModifier);
        const bool unlocked = typed.last() == kPassword;
        QCOMPARE(typing.titles, QStringList(typed.size(), Texts::PasswordCaption));
        QCOMPARE(desktop.messages.size(), typed.size() - 1);
        QCOMPARE(desktop.endCodes, unlocked ? QList<int>{} : QList<int>{0});
        QCOMPARE(WindowDriver::Displayed(*w).first(), unlocked ? u"id-2"_s : QString());
        w->close();
        QVERIFY(unlocked || Folder(dir.path()) == before);
    }

    // After the set minutes without input the window locks by itself, only when encrypted;
    // texts typed in a mode are hidden behind the lock, not lost.
    void theIdleLockKeepsWhatWasTyped()
    {
        MainWindowFixture plain(TestFiles::NumberedEntries(1));
        plain.w->ApplySettings({.lockAfterMinutes = 1});
        QVERIFY(!plain.w->Idle().Watching());
        Encrypt(plain.dir);
        PasswordTyping start({kPassword});
        OpenedWindow w(plain.dir.path(), plain.desktop);
        w->ApplySettings({.lockAfterMinutes = 1});
        QVERIFY(w->Idle().Remaining() > 59000 && WindowDriver::ShowActive(*w));
        WindowDriver::EnterMode(*w, true);
        const QStringList texts{u"New"_s, u"me"_s, u"secret"_s, {}};
        WindowDriver::Type(*w, texts);
        PasswordTyping typing({kPassword}, [&] {
            QCOMPARE(WindowDriver::TextsInPanel(*w), QStringList(4, QString()));
            QVERIFY(!w->Idle().Watching());
        });
        w->IdleWatch_Idle();
        QCOMPARE(typing.titles.size(), 1);
        QCOMPARE(WindowDriver::TextsInPanel(*w), texts);
        QVERIFY(w->Idle().Watching());
    }

    // On from the menu (a short password warned about, then a long one): no file holds a
    // password in plain text. Then the legacy file out and back in, and off again.
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
        QVERIFY(!QFileInfo::exists(dir.dataPath()));
        for (const QByteArray& bytes : Folder(dir.path()))
            QVERIFY(!bytes.contains("pw-1-x") && !bytes.contains("pw-2-x"));
        QTemporaryDir elsewhere;
        const QString legacy = elsewhere.filePath(u"old.Dat"_s);
        desktop.answers = {Answer::Yes};
        desktop.files = {{legacy, 0}};
        MenuEntry(w, Texts::ExportLegacyCommand)->trigger();
        QVERIFY(TestFiles::Read(legacy).contains("\"pw-2-x\"\r\n"));
        TestFiles::Write(legacy, TestFiles::Make(0, 0, TestFiles::NumberedEntries(1)));
        desktop.answers = {Answer::Yes};
        desktop.files = {{legacy, 0}};
        MenuEntry(w, Texts::ImportLegacyCommand)->trigger();
        QCOMPARE(w.Table().size(), 1);
        desktop.answers = {Answer::Yes};
        MenuEntry(w, Texts::DecryptCommand)->trigger();
        QVERIFY(!f.opened->session->Encrypted() &&
                MenuEntry(w, Texts::EncryptCommand)->isVisible());
        QCOMPARE(dir.data().count("pw-1-x"), 1);
    }
};

QTEST_MAIN(TestEncryptionWindow)
#include "tst_encryption_window.moc"
