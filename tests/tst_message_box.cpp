// The program's message boxes, as the desktop layer shows them: text as typed, Japanese
// buttons, the default answer on Enter, and a question that only a button can end; Qt's
// own texts in Japanese, as the program loads them; and the password dialogs.
#include "platform/desktop.h"
#include "platform/password_dialog.h"
#include "platform/qt_japanese.h"
#include "resources/store_messages.h"
#include "resources/texts.h"
#include "support/system_files.h"
#include "support/test_support.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

// Shows `message`, runs `act` on the message box once it is up, and returns the answer; nullopt
// when the box never came up.
std::optional<MessageRequest::Answer> ShowAndAct(const MessageRequest& message,
                                                 std::function<void(QMessageBox*)> act)
{
    ActOnModal<QMessageBox> actor(std::move(act));
    Desktop desktop;
    desktop.SetAppTitle(u"コファリー"_s);
    const auto answer = desktop.Show(nullptr, message);
    if (!actor.Acted())
        return std::nullopt;
    return answer;
}

MessageRequest Question(MessageRequest::Answer defaultAnswer)
{
    MessageRequest message;
    message.text = u"<b>銀行</b>を削除します"_s;
    message.title = u"削除の確認"_s;
    message.buttons = MessageRequest::Buttons::YesNo;
    message.defaultAnswer = defaultAnswer;
    message.icon = QMessageBox::Question;
    return message;
}

} // namespace

class TestMessageBox : public QObject {
    Q_OBJECT
private slots:
    void showsTheTextAsTypedWithJapaneseButtons()
    {
        QString shownText, shownTitle;
        QStringList buttons;
        const auto answer = ShowAndAct(Question(MessageRequest::Answer::No), [&](QMessageBox* box) {
            const QList<QLabel*> labels = box->findChildren<QLabel*>();
            for (QLabel* label : labels)
                if (label->text() == box->text() && label->textFormat() == Qt::PlainText)
                    shownText = label->text();
            shownTitle = box->windowTitle();
            for (QAbstractButton* b : box->buttons())
                buttons << b->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        // A title that looks like markup is shown with its brackets, not as bold text.
        QCOMPARE(shownText, u"<b>銀行</b>を削除します"_s);
        QCOMPARE(shownTitle, u"削除の確認"_s);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{u"いいえ(&N)"_s, u"はい(&Y)"_s}));
        QVERIFY(answer);
        QCOMPARE(*answer, MessageRequest::Answer::No); // Enter takes the default, here No
    }

    void enterTakesTheDefaultAnswer()
    {
        const auto answer = ShowAndAct(Question(MessageRequest::Answer::Yes), [](QMessageBox* box) {
            QTest::keyClick(box, Qt::Key_Return);
        });
        QVERIFY(answer);
        QCOMPARE(*answer, MessageRequest::Answer::Yes);
    }

    // Esc or the close box must not answer a question for the user: for the sort window's
    // "save the changes?" that answer would throw the changes away.
    void questionIgnoresEscAndCloseUntilAButtonIsPressed()
    {
        bool stillUp = false;
        const auto answer =
            ShowAndAct(Question(MessageRequest::Answer::Yes), [&](QMessageBox* box) {
                QTest::keyClick(box, Qt::Key_Escape);
                box->close();
                QCoreApplication::processEvents();
                stillUp = box->isVisible();
                QTest::keyClick(box, Qt::Key_N, Qt::AltModifier);
            });
        QVERIFY(stillUp);
        QVERIFY(answer);
        QCOMPARE(*answer, MessageRequest::Answer::No);
    }

    // With キャンセル among the buttons, Esc and the close box answer it: it loses nothing.
    void escAndCloseAnswerCancel()
    {
        MessageRequest message = Question(MessageRequest::Answer::Yes);
        message.buttons = MessageRequest::Buttons::YesNoCancel;
        for (const bool closeBox : {false, true}) {
            QString escapeText;
            const auto answer = ShowAndAct(message, [&](QMessageBox* box) {
                escapeText = box->escapeButton()->text();
                closeBox ? void(box->close()) : QTest::keyClick(box, Qt::Key_Escape);
            });
            QCOMPARE(escapeText, u"キャンセル"_s);
            QCOMPARE(answer, std::optional(MessageRequest::Answer::Cancel));
        }
    }

    void noticeEndsWithEscAndHasTheAppTitle()
    {
        MessageRequest notice;
        notice.text = u"/home/user/Cofferly.Dat\nアクセスが拒否されました"_s;
        QString title;
        const auto answer = ShowAndAct(notice, [&](QMessageBox* box) {
            title = box->windowTitle();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QVERIFY(answer);
        QCOMPARE(*answer, MessageRequest::Answer::Ok);
        QCOMPARE(title, u"コファリー"_s);
    }

    // The usual reasons the system gives say first what the user can do, then the system's
    // own words; paths read as the system writes them.
    void systemReasonsSayWhatToDo_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("advice");
        const QList<int> codes = SystemFiles::UsualErrors();
        QTest::newRow("disk full") << codes[0] << Texts::ReasonDiskFull;
        QTest::newRow("in use") << codes[1] << Texts::ReasonInUse;
        QTest::newRow("access denied") << codes[2] << Texts::ReasonAccessDenied;
        QTest::newRow("path too long") << codes[3] << Texts::ReasonPathTooLong;
        QTest::newRow("anything else") << 0 << QString();
    }
    void systemReasonsSayWhatToDo()
    {
        QFETCH(int, code);
        QFETCH(QString, advice);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Cofferly.Dat"_s);
        const QString native = QDir::toNativeSeparators(path);
        const QString own = code ? qt_error_string(code) : u"Cannot write %1"_s.arg(path);
        const StoreError error{StoreError::Kind::Write, path, StoreError::Cause::System, own};
        QVERIFY(EndingFailureMessage(error).contains(native + u'\n'));
        QCOMPARE(StoreErrorReason(error), advice.isEmpty()
                                              ? u"Cannot write %1"_s.arg(native)
                                              : Texts::SystemReasonWithAdvice.arg(advice, own));
    }

    void readOnlyFileSaysHowToMendIt()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Cofferly.Dat"_s);
        TestFiles::Write(path, "0,0\r\n");
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        const bool writable = QFileInfo(path).isWritable();
        const QString own = u"Existing file %1 is not writable"_s.arg(path);
        const QString reason =
            StoreErrorReason({StoreError::Kind::Write, path, StoreError::Cause::System, own});
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        if (writable)
            QSKIP("this user may write any file");
        QCOMPARE(reason, Texts::SystemReasonWithAdvice.arg(Texts::ReasonReadOnly,
                                                           QDir::toNativeSeparators(own)));
    }

    // Qt's own texts, such as a text box's context menu, read Japanese like the program.
    void textBoxMenuReadsJapanese()
    {
        QVERIFY(LoadQtJapanese());
        QLineEdit edit(u"text"_s);
        const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator())
                texts << action->text().section(u'(', 0, 0).section(u'\t', 0, 0);
        }
        QCOMPARE(texts, (QStringList{u"元に戻す"_s, u"やり直す"_s, u"切り取り"_s, u"コピー"_s,
                                     u"貼り付け"_s, u"削除"_s, u"すべてを選択"_s}));
    }

    // The password dialogs: hidden input with no input method, Enter is OK, Esc キャンセル,
    // Tab from the first field to the second, and the fields emptied once read.
    void passwordDialogsTakeKeys_data()
    {
        QTest::addColumn<bool>("newPassword");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("taken");
        const int ok = QDialog::Accepted;
        const int cancel = QDialog::Rejected;
        QTest::newRow("unlock, Enter")
            << false << u"s3cret pass\n"_s << ok << QStringList{u"s3cret pass"_s, {}};
        QTest::newRow("unlock, Esc")
            << false << u"abc\x1b"_s << cancel << QStringList{u"abc"_s, {}};
        QTest::newRow("new, Tab to the second")
            << true << u"one\ttwo\n"_s << ok << QStringList{u"one"_s, u"two"_s};
        QTest::newRow("new, Esc") << true << u"one\x1b"_s << cancel << QStringList{u"one"_s, {}};
    }
    void passwordDialogsTakeKeys()
    {
        QFETCH(bool, newPassword);
        QFETCH(QString, keys);
        QFETCH(int, result);
        QFETCH(QStringList, taken);
        using Purpose = PasswordDialog::Purpose;
        PasswordDialog dialog(nullptr, newPassword ? Purpose::NewPassword : Purpose::Unlock);
        ActOnModal<PasswordDialog> actor([&](PasswordDialog* shown) {
            for (QChar key : keys) {
                QWidget* focus = QApplication::focusWidget();
                const auto* field = qobject_cast<QLineEdit*>(focus);
                QVERIFY(field && field->echoMode() == QLineEdit::Password);
                QVERIFY(!field->testAttribute(Qt::WA_InputMethodEnabled));
                if (key == u'\n')
                    QTest::keyClick(focus, Qt::Key_Return);
                else if (key == u'\t')
                    QTest::keyClick(focus, Qt::Key_Tab);
                else if (key == u'\x1b')
                    QTest::keyClick(focus, Qt::Key_Escape);
                else
                    QTest::keyClicks(focus, QString(key));
            }
            Q_UNUSED(shown);
        });
        QCOMPARE(dialog.exec(), result);
        QVERIFY(actor.Acted());
        QCOMPARE(dialog.windowTitle(),
                 newPassword ? Texts::EncryptCaption : Texts::PasswordCaption);
        QCOMPARE((QStringList{dialog.TakePassword(), dialog.TakeRepeated()}), taken);
        QCOMPARE(dialog.TakePassword(), QString());
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_message_box.moc"
