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

// Answers each password dialog that opens with the next of `typed` (kEsc presses Esc),
// typing as a user does: the first field, Tab, the second. `check` sees each dialog first.
class PasswordTyping : public QObject {
public:
    explicit PasswordTyping(QStringList typed, std::function<void(PasswordDialog*)> check = {})
        : typed_(std::move(typed)), check_(std::move(check))
    {
        connect(&poll_, &QTimer::timeout, this, [this] {
            auto* dialog = qobject_cast<PasswordDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isActiveWindow() || typed_.isEmpty())
                return;
            titles << dialog->windowTitle();
            if (check_)
                check_(dialog);
            const QString text = typed_.takeFirst();
            for (int field = 0; field < 2 && text != kEsc; ++field) {
                WindowDriver::TypeText(dialog->focusWidget(), text);
                if (dialog->findChildren<QLineEdit*>().size() == 1)
                    break;
                QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
            }
            QTest::keyClick(dialog->focusWidget(), text == kEsc ? Qt::Key_Escape : Qt::Key_Return);
        });
        poll_.start(10);
    }
    QStringList titles;

private:
    QStringList typed_;
    std::function<void(PasswordDialog*)> check_;
    QTimer poll_;
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
    // A wrong password says so and asks again; Esc ends the start. Neither writes anything.
    void theStartAsksForThePassword_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<bool>("opens");
        QTest::newRow("right") << QStringList{kPassword} << true;
        QTest::newRow("wrong, then right") << QStringList{u"wrong"_s, kPassword} << true;
        QTest::newRow("Esc") << QStringList{kEsc} << false;
        QTest::newRow("wrong, then Esc") << QStringList{u"wrong"_s, kEsc} << false;
    }
    void theStartAsksForThePassword()
    {
        QFETCH(QStringList, typed);
        QFETCH(bool, opens);
        ProgramDir dir(TestFiles::Make(0, 0, TestFiles::NumberedEntries(2)));
        Encrypt(dir);
        const auto before = Folder(dir.path());
        RecordingDesktop desktop;
        PasswordTyping typing(typed);
        OpenedWindow w(dir.path(), desktop);
        QCOMPARE(bool(w), opens);
        QCOMPARE(typing.titles, QStringList(typed.size(), Texts::PasswordCaption));
        QCOMPARE(desktop.messages.size(), typed.size() - 1);
        for (const MessageRequest& message : desktop.messages)
            QVERIFY(message.text.contains(Texts::SealNotOpened));
        if (opens)
            QCOMPARE(WindowDriver::Displayed(*w).first(), u"id-1"_s);
        w.window.reset();
        QCOMPARE(Folder(dir.path()), before);
    }

    // The lock empties the window and the clipboard and wipes the key; the right password
    // brings back the entry that was shown, キャンセル ends the program without a save.
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
        QVERIFY(Clipboard::HoldsOurs());
        const auto before = Folder(dir.path());
        PasswordTyping typing(typed, [&](PasswordDialog*) {
            QCOMPARE(w->Controls().IComboTitle->ListCount(), 0);
            QCOMPARE(WindowDriver::Displayed(*w), QStringList(4, QString()));
            QVERIFY(!Clipboard::HoldsOurs() && w->Controls().LbClipBoard->text().isEmpty());
            QVERIFY(w.session->Locked());
        });
        QVERIFY(MenuEntry(*w, Texts::LockCommand)->isVisible());
        QTest::keyClick(w.window.get(), Qt::Key_L, Qt::ControlModifier);
        const bool unlocked = typed.last() == kPassword;
        QCOMPARE(typing.titles.size(), typed.size());
        QCOMPARE(w->Ended(), !unlocked);
        QCOMPARE(desktop.endCodes, unlocked ? QList<int>{} : QList<int>{0});
        if (unlocked)
            QCOMPARE(WindowDriver::Displayed(*w).first(), u"id-2"_s);
        w->close();
        if (!unlocked)
            QCOMPARE(Folder(dir.path()), before);
    }

    // After the set minutes without input the window locks by itself, only when encrypted;
    // texts typed in a mode are hidden behind the lock, not lost.
    void theIdleLockKeepsWhatWasTyped()
    {
        ProgramDir dir(TestFiles::Make(0, 0, TestFiles::NumberedEntries(2)));
        RecordingDesktop desktop;
        OpenedWindow plain(dir.path(), desktop);
        plain->ApplySettings({.lockAfterMinutes = 1});
        QVERIFY(!plain->Idle().Watching());
        plain.window.reset();
        Encrypt(dir);
        PasswordTyping start({kPassword});
        OpenedWindow w(dir.path(), desktop);
        w->ApplySettings({.lockAfterMinutes = 1});
        QVERIFY(w->Idle().Watching() && w->Idle().Remaining() > 59000);
        QVERIFY(WindowDriver::ShowActive(*w));
        WindowDriver::EnterMode(*w, true);
        const QStringList texts{u"New"_s, u"me"_s, u"secret"_s, {}};
        WindowDriver::Type(*w, texts);
        PasswordTyping typing({kPassword}, [&](PasswordDialog*) {
            QCOMPARE(WindowDriver::TextsInPanel(*w), QStringList(4, QString()));
            QVERIFY(!w->Idle().Watching());
        });
        w->IdleWatch_Idle();
        QCOMPARE(typing.titles.size(), 1);
        QCOMPARE(WindowDriver::TextsInPanel(*w), texts);
        QVERIFY(w->Idle().Watching());
    }

    // Turning encryption on: the password twice, a short one warned about; the plain files
    // go, and no file holds a password in plain text.
    void theMenuTurnsEncryptionOn()
    {
        MainWindowFixture f(TestFiles::NumberedEntries(2));
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w) && !MenuEntry(w, Texts::LockCommand)->isVisible());
        desktop.answers = {Answer::No};
        PasswordTyping typing({u"short"_s, kPassword}, [](PasswordDialog* dialog) {
            // The focus starts in the first field.
            QCOMPARE(dialog->focusWidget(), dialog->findChildren<QLineEdit*>().first());
        });
        MenuEntry(w, Texts::EncryptCommand)->trigger();
        QCOMPARE(typing.titles, QStringList(2, Texts::EncryptCaption));
        QCOMPARE(desktop.messages.first().title, Texts::ShortPasswordTitle);
        QCOMPARE(desktop.messages.last().text.left(6), Texts::EncryptionOn.left(6));
        QVERIFY(f.opened->session->Encrypted() && MenuEntry(w, Texts::LockCommand)->isVisible());
        const auto files = Folder(dir.path());
        QVERIFY(files.contains(StoreFiles::Encrypted) && !files.contains(StoreFiles::Data));
        for (const QByteArray& bytes : files)
            QVERIFY(!bytes.contains("pw-1-x") && !bytes.contains("pw-2-x"));
    }

    // With encryption on: the legacy file out and back in, and turning it off.
    void theMenuLivesWithEncryption()
    {
        ProgramDir dir(TestFiles::Make(0, 0, TestFiles::NumberedEntries(2)));
        Encrypt(dir);
        RecordingDesktop desktop;
        PasswordTyping start({kPassword});
        OpenedWindow w(dir.path(), desktop);
        QVERIFY(w && MenuEntry(*w, Texts::EncryptCommand)->isVisible() == false);
        QTemporaryDir elsewhere;
        const QString legacy = elsewhere.filePath(u"old.Dat"_s);
        desktop.answers = {Answer::Yes};
        desktop.files = {{legacy, 0}};
        MenuEntry(*w, Texts::ExportLegacyCommand)->trigger();
        QVERIFY(TestFiles::Read(legacy).contains("\"pw-2-x\"\r\n"));
        TestFiles::Write(legacy, TestFiles::Make(0, 0, TestFiles::NumberedEntries(1)));
        desktop.answers = {Answer::Yes};
        desktop.files = {{legacy, 0}};
        MenuEntry(*w, Texts::ImportLegacyCommand)->trigger();
        QCOMPARE(w->Table().size(), 1);
        desktop.answers = {Answer::Yes};
        MenuEntry(*w, Texts::DecryptCommand)->trigger();
        QVERIFY(!w.session->Encrypted() && MenuEntry(*w, Texts::EncryptCommand)->isVisible());
        QVERIFY(QFileInfo::exists(dir.dataPath()));
        QVERIFY(!QFileInfo::exists(dir.path() + u'/' + StoreFiles::Encrypted));
    }
};

QTEST_MAIN(TestEncryptionWindow)
#include "tst_encryption_window.moc"
