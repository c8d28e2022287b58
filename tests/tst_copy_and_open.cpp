// Copying the ID or PW whole or piece by piece, and handing the URL to the desktop.
#include "support/secret_marks.h"
#include "support/window_driver.h"

#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QMimeData>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using WindowDriver::Pick;

namespace {

const QString kSentinel = u"put there by the test"_s;

// Something on the clipboard that no copy of the window puts there, so a copy that did
// not happen cannot pass for one that did.
void PutSentinel()
{
    QGuiApplication::clipboard()->setText(kSentinel);
}

QString ClipboardText()
{
    return QGuiApplication::clipboard()->text();
}

void Press(QPushButton* button, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(button, Qt::LeftButton, modifiers);
}

// While a run on copy button `index` lasts only that button and cmdTop are usable: a sort
// would change the entries under the run.
void VerifyRunning(const Fm_Cofferly& w, int index)
{
    QVERIFY(w.Controls().Bt_Clip[index]->isEnabled());
    QVERIFY(!w.Controls().Bt_Clip[1 - index]->isEnabled());
    QVERIFY(!w.Controls().Bt_Add->isEnabled());
    QVERIFY(!w.Controls().Bt_Edit->isEnabled());
    QVERIFY(!w.Controls().Bt_Del->isEnabled());
    QVERIFY(!w.Controls().CmdURL->isEnabled());
    QVERIFY(!w.Controls().IComboTitle->isEnabled());
    QVERIFY(w.Controls().cmdTop->isEnabled());
    QVERIFY(!w.Controls().cmdSort->isEnabled());
    QVERIFY(w.InCopyRun());
}

void VerifyIdle(const Fm_Cofferly& w)
{
    for (QWidget* c :
         {static_cast<QWidget*>(w.Controls().Bt_Clip[0]),
          static_cast<QWidget*>(w.Controls().Bt_Clip[1]),
          static_cast<QWidget*>(w.Controls().Bt_Add), static_cast<QWidget*>(w.Controls().Bt_Edit),
          static_cast<QWidget*>(w.Controls().Bt_Del), static_cast<QWidget*>(w.Controls().CmdURL),
          static_cast<QWidget*>(w.Controls().IComboTitle),
          static_cast<QWidget*>(w.Controls().cmdSort)})
        QVERIFY(c->isEnabled());
    QCOMPARE(w.CurrentMode(), Fm_Cofferly::Mode::Browsing);
    QVERIFY(!w.InCopyRun());
}

// Entry 1: an ID with one dash and a PW with two; entry 2 a group; entry 3 no dashes.
const QList<QStringList> kEntries = {
    {u"Bank"_s, u"user-01"_s, u"ab-cd-ef"_s, u"https://bank.example/login"_s},
    {u"Mail"_s, {}, {}, {}},
    {u"Shop"_s, u"shopper"_s, u"plain pass"_s, u"shop.example"_s}};

} // namespace

class TestCopyAndOpen : public QObject {
    Q_OBJECT
private slots:
    void splitsAtEveryDashBeforeTheLastCharacter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("no dash") << u"abc"_s << QStringList{u"abc"_s};
        QTest::newRow("one dash") << u"ab-cd"_s << QStringList{u"ab"_s, u"cd"_s};
        QTest::newRow("dash at the start") << u"-ab"_s << QStringList{{}, u"ab"_s};
        QTest::newRow("two in a row") << u"a--b"_s << QStringList{u"a"_s, {}, u"b"_s};
        QTest::newRow("dash at the end") << u"a-b-"_s << QStringList{u"a"_s, u"b-"_s};
        QTest::newRow("only a final dash") << u"ab-"_s << QStringList{u"ab-"_s};
        QTest::newRow("single dash") << u"-"_s << QStringList{u"-"_s};
        QTest::newRow("two dashes") << u"--"_s << QStringList{{}, u"-"_s};
        QTest::newRow("one character") << u"x"_s << QStringList{u"x"_s};
        QTest::newRow("spaces kept") << u" a - b "_s << QStringList{u" a "_s, u" b "_s};
        QTest::newRow("other dashes do not split")
            << u"a\u2010b\uff0dc\u2014d\u30fce\u2212f"_s
            << QStringList{u"a\u2010b\uff0dc\u2014d\u30fce\u2212f"_s};
        QTest::newRow("outside the basic plane")
            << u"\U0001F600-\U0001F600"_s << QStringList{u"\U0001F600"_s, u"\U0001F600"_s};
        QStringList twelve;
        for (int i = 1; i <= 12; ++i)
            twelve << QString::number(i);
        QTest::newRow("more than ten pieces") << twelve.join(u'-') << twelve;
        QStringList many(31, u"p"_s);
        QTest::newRow("thirty-one pieces") << many.join(u'-') << many;
    }

    void splitsAtEveryDashBeforeTheLastCharacter()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, pieces);
        QCOMPARE(Fm_Cofferly::DevideSentense(text), pieces);
    }

    // Each plain click copies the next piece; the run's controls stay disabled in between.
    void plainClicksCopyPieceByPiece_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("PW with two dashes")
            << u"ab-cd-ef"_s << 1 << QStringList{u"ab"_s, u"cd"_s, u"ef"_s};
        QTest::newRow("ID with one dash") << u"user-01"_s << 0 << QStringList{u"user"_s, u"01"_s};
        QTest::newRow("no dash, one click") << u"p@ss word"_s << 1 << QStringList{u"p@ss word"_s};
        QTest::newRow("empty piece") << u"a--b"_s << 1 << QStringList{u"a"_s, {}, u"b"_s};
        QTest::newRow("final dash kept") << u"x-y-"_s << 0 << QStringList{u"x"_s, u"y-"_s};
        QTest::newRow("single dash") << u"-"_s << 1 << QStringList{u"-"_s};
        QStringList twelve;
        for (int i = 1; i <= 12; ++i)
            twelve << u"p%1"_s.arg(i);
        QTest::newRow("twelve pieces, every one copied") << twelve.join(u'-') << 1 << twelve;
    }

    void plainClicksCopyPieceByPiece()
    {
        QFETCH(QString, text);
        QFETCH(int, index);
        QFETCH(QStringList, pieces);
        QStringList entry{u"T"_s, u"id"_s, u"pw"_s, u"url"_s};
        entry[1 + index] = text;
        MainWindowFixture f({entry});
        auto [dir, desktop, w] = f.Parts();
        for (int i = 0; i < pieces.size(); ++i) {
            PutSentinel();
            Press(w.Controls().Bt_Clip[index]);
            QCOMPARE(ClipboardText(), pieces[i]);
            QCOMPARE(w.Controls().LbClipBoard->text(), pieces[i]);
            if (i + 1 < pieces.size())
                VerifyRunning(w, index);
            else
                VerifyIdle(w);
            if (QTest::currentTestFailed())
                return;
        }
        // The run is over: the next click starts again with the first piece.
        Press(w.Controls().Bt_Clip[index]);
        QCOMPARE(ClipboardText(), pieces[0]);
        QCOMPARE(desktop.beeps, 0);
        QCOMPARE(TestFiles::AsLists(w.Table()),
                 QList<QStringList>{entry}); // copying changes no entry
    }

    // Esc leaves a run started on the wrong entry; the piece copied last stays.
    void escEndsARun()
    {
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        Press(w.Controls().Bt_Clip[1]);
        VerifyRunning(w, 1);
        QTest::keyClick(w.Controls().Bt_Clip[1], Qt::Key_Escape);
        VerifyIdle(w);
        QCOMPARE(ClipboardText(), u"ab"_s);
        QCOMPARE(w.Controls().LbClipBoard->text(), u"ab"_s);
    }

    void shiftClickInTheMiddleOfARunCopiesWholeAndTheRunGoesOn()
    {
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        Press(w.Controls().Bt_Clip[1]);
        QCOMPARE(ClipboardText(), u"ab"_s);
        Press(w.Controls().Bt_Clip[1], Qt::ShiftModifier);
        QCOMPARE(ClipboardText(), u"ab-cd-ef"_s);
        QCOMPARE(w.Controls().LbClipBoard->text(), u"ab-cd-ef"_s);
        VerifyRunning(w, 1);
        Press(w.Controls().Bt_Clip[1]);
        QCOMPARE(ClipboardText(), u"cd"_s);
        QCOMPARE(w.Controls().LbClipBoard->text(), u"cd"_s);
        VerifyRunning(w, 1);
        Press(w.Controls().Bt_Clip[1]);
        QCOMPARE(ClipboardText(), u"ef"_s);
        VerifyIdle(w);
    }

    // Only Shift alone makes a whole copy; any other modifier with it copies piece by piece.
    void modifiersOfTheMousePress_data()
    {
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("copied");
        QTest::addColumn<bool>("running");
        QTest::newRow("none") << Qt::KeyboardModifiers() << u"ab"_s << true;
        QTest::newRow("Shift") << Qt::KeyboardModifiers(Qt::ShiftModifier) << u"ab-cd-ef"_s
                               << false;
        QTest::newRow("Ctrl+Shift") << (Qt::ControlModifier | Qt::ShiftModifier) << u"ab"_s << true;
        QTest::newRow("Alt+Shift") << (Qt::AltModifier | Qt::ShiftModifier) << u"ab"_s << true;
        QTest::newRow("Ctrl") << Qt::KeyboardModifiers(Qt::ControlModifier) << u"ab"_s << true;
    }

    void modifiersOfTheMousePress()
    {
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, copied);
        QFETCH(bool, running);
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        PutSentinel();
        Press(w.Controls().Bt_Clip[1], modifiers);
        QCOMPARE(ClipboardText(), copied);
        QCOMPARE(w.Controls().LbClipBoard->text(), copied);
        if (running)
            VerifyRunning(w, 1);
        else
            VerifyIdle(w);
    }

    // A click from the keyboard goes by the last mouse press on a copy button.
    void keyboardCopyAfterAShiftClickCopiesWhole()
    {
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w));
        Press(w.Controls().Bt_Clip[0], Qt::ShiftModifier);
        QCOMPARE(ClipboardText(), u"user-01"_s);

        PutSentinel();
        QTest::keyClick(&w, Qt::Key_P, Qt::AltModifier);
        QTRY_COMPARE(ClipboardText(), u"ab-cd-ef"_s);
        VerifyIdle(w);

        PutSentinel();
        w.Controls().Bt_Clip[0]->setFocus();
        QTest::keyClick(w.Controls().Bt_Clip[0], Qt::Key_Space);
        QCOMPARE(ClipboardText(), u"user-01"_s);

        // Enter on the title selector presses the default button, the ID copy.
        PutSentinel();
        w.Controls().IComboTitle->setFocus();
        QTest::keyClick(w.Controls().IComboTitle, Qt::Key_Return);
        QCOMPARE(ClipboardText(), u"user-01"_s);
        QCOMPARE(w.Controls().LbClipBoard->text(), u"user-01"_s);

        // A plain mouse press clears it: from then on the keyboard copies piece by piece.
        Press(w.Controls().Bt_Clip[1]);
        QCOMPARE(ClipboardText(), u"ab"_s);
        QTest::keyClick(&w, Qt::Key_P, Qt::AltModifier);
        QTRY_COMPARE(ClipboardText(), u"cd"_s);
        w.Controls().Bt_Clip[1]->setFocus();
        QTest::keyClick(w.Controls().Bt_Clip[1], Qt::Key_Space);
        QCOMPARE(ClipboardText(), u"ef"_s);
        VerifyIdle(w);
    }

    // A press on the copy button that a run has disabled is no press on a copy button.
    void pressOnADisabledCopyButtonChangesNothing()
    {
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w));
        Press(w.Controls().Bt_Clip[1]);
        QCOMPARE(ClipboardText(), u"ab"_s);
        QVERIFY(!w.Controls().Bt_Clip[0]->isEnabled());
        Press(w.Controls().Bt_Clip[0], Qt::ShiftModifier);
        QCOMPARE(ClipboardText(), u"ab"_s);
        w.Controls().Bt_Clip[1]->setFocus();
        QTest::keyClick(w.Controls().Bt_Clip[1], Qt::Key_Space);
        QCOMPARE(ClipboardText(), u"cd"_s);
        QTest::keyClick(w.Controls().Bt_Clip[1], Qt::Key_Space);
        VerifyIdle(w);

        // In a mode both copy buttons are disabled.
        QTest::mouseClick(w.Controls().Bt_Add, Qt::LeftButton);
        Press(w.Controls().Bt_Clip[0], Qt::ShiftModifier);
        QTest::mouseClick(w.Controls().Bt_OK[1], Qt::LeftButton);
        QTest::keyClick(&w, Qt::Key_I, Qt::AltModifier);
        QTRY_COMPARE(ClipboardText(), u"user"_s);
    }

    void emptyTextsOnlyBeep()
    {
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        Press(w.Controls().Bt_Clip[0]);
        QCOMPARE(ClipboardText(), u"user"_s);
        Press(w.Controls().Bt_Clip[0]);
        Pick(w, 2); // the group entry
        QCOMPARE(WindowDriver::Displayed(w), QStringList({{}, {}, {}, {}}));
        PutSentinel();
        Press(w.Controls().Bt_Clip[0]);
        Press(w.Controls().Bt_Clip[1]);
        Press(w.Controls().Bt_Clip[1], Qt::ShiftModifier);
        Press(w.Controls().CmdURL);
        QCOMPARE(desktop.beeps, 4);
        QCOMPARE(ClipboardText(), kSentinel);
        QCOMPARE(w.Controls().LbClipBoard->text(), u"01"_s);
        QVERIFY(desktop.opened.isEmpty());
        VerifyIdle(w);
    }

    // Clipboard managers are told to keep no history; the text itself is exactly the piece.
    void clipboardCarriesTheTextAndThePasswordHint_data()
    {
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("copied");
        QTest::newRow("piece") << Qt::KeyboardModifiers() << u" パス "_s;
        QTest::newRow("whole") << Qt::KeyboardModifiers(Qt::ShiftModifier) << u" パス -ﾜｰﾄﾞ&<b>"_s;
    }

    void clipboardCarriesTheTextAndThePasswordHint()
    {
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, copied);
        MainWindowFixture f({{u"T"_s, u"i"_s, u" パス -ﾜｰﾄﾞ&<b>"_s, {}}});
        auto [dir, desktop, w] = f.Parts();
        PutSentinel();
        Press(w.Controls().Bt_Clip[1], modifiers);
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime);
        QCOMPARE(mime->text(), copied);
        QCOMPARE(mime->data(u"text/plain"_s), copied.toUtf8());
        for (const auto& [type, bytes] : SecretMarks())
            QCOMPARE(mime->data(type), bytes);
        QVERIFY(!mime->hasHtml());
        QCOMPARE(w.Controls().LbClipBoard->text(), copied);
        QCOMPARE(w.Controls().LbClipBoard->textFormat(), Qt::PlainText);
    }

    // Ctrl+Shift+C clears at once, in any mode, without opening the menu; another program's
    // text stays, and LbClipBoard forgets either way.
    void clearNowClearsOnlyOurs()
    {
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w));
        auto clearNow = [&w] {
            QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        };
        Press(w.Controls().Bt_Clip[1]);
        clearNow();
        QCOMPARE(ClipboardText(), QString());
        QCOMPARE(w.Controls().LbClipBoard->text(), QString());
        QVERIFY(!w.Menu()->isVisible());
        VerifyRunning(w, 1); // the run goes on with its next piece
        Press(w.Controls().Bt_Clip[1]);
        QCOMPARE(ClipboardText(), u"cd"_s);
        PutSentinel();
        clearNow();
        QCOMPARE(ClipboardText(), kSentinel);
        QCOMPARE(w.Controls().LbClipBoard->text(), QString());
        Press(w.Controls().Bt_Clip[1]);
        WindowDriver::EnterMode(w, false);
        clearNow();
        QCOMPARE(ClipboardText(), QString());
        QCOMPARE(w.Controls().LbClipBoard->text(), QString());
    }

    // However the window goes, what it put on the clipboard goes with it, unless another
    // program has put something there since.
    void clearedWhenTheWindowGoes_data()
    {
        QTest::addColumn<bool>("another");
        QTest::addColumn<int>("seconds");
        QTest::newRow("ours") << false << 30;
        QTest::newRow("ours, never cleared after a while") << false << 0;
        QTest::newRow("another program's") << true << 30;
    }

    void clearedWhenTheWindowGoes()
    {
        QFETCH(bool, another);
        QFETCH(int, seconds);
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        w.ApplySettings({.clearAfterSeconds = seconds});
        w.show();
        Press(w.Controls().Bt_Clip[0], Qt::ShiftModifier);
        if (another)
            PutSentinel();
        w.close();
        QCOMPARE(ClipboardText(), another ? kSentinel : u"user-01"_s);
        f.opened.reset();
        QCOMPARE(ClipboardText(), another ? kSentinel : QString());
    }

    // The shown URL goes to the desktop exactly as shown, as one argument; one that is not a
    // web or mail address once the user has said yes to it.
    void urlHandedOverUnchanged_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("asked");
        QTest::newRow("with scheme") << u"https://example.com/a?b=1&c=2#d"_s << false;
        QTest::newRow("without scheme") << u"www.example.com"_s << true;
        QTest::newRow("spaces kept") << u"  https://example.com/a b  "_s << true;
        QTest::newRow("semicolon") << u"a;touch /tmp/cofferly-never"_s << true;
        QTest::newRow("command substitution") << u"$(touch /tmp/cofferly-never)"_s << true;
        QTest::newRow("backquotes and pipe") << u"`id` | cat > x"_s << true;
        QTest::newRow("single quotes") << u"'it''s' 'quoted'\\"_s << true;
        QTest::newRow("Japanese") << u"https://例え.jp/パス"_s << false;
    }

    void urlHandedOverUnchanged()
    {
        QFETCH(QString, url);
        QFETCH(bool, asked);
        MainWindowFixture f({{u"G"_s, {}, {}, {}}, {u"T"_s, {}, {}, url}});
        auto [dir, desktop, w] = f.Parts();
        desktop.answers.push_back(MessageRequest::Answer::Yes);
        Pick(w, 2);
        QCOMPARE(w.Controls().Lb_data[2]->text(), url);
        QCOMPARE(w.Controls().Lb_data[2]->toolTip(), url);
        Press(w.Controls().CmdURL);
        QCOMPARE(desktop.messages.size(), asked ? 1 : 0);
        QCOMPARE(desktop.opened, QStringList{url});
        QCOMPARE(desktop.beeps, 0);
        QVERIFY(w.Controls().CmdURL->isEnabled());
    }

    void altUOpensTheUrl()
    {
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w));
        QTest::keyClick(&w, Qt::Key_U, Qt::AltModifier);
        QTRY_COMPARE(desktop.opened, QStringList{u"https://bank.example/login"_s});
    }

    // F1 opens the old help file where one is kept, else the read-me beside the program,
    // else nothing.
    void f1OpensTheHelpFileOrTheReadMe()
    {
        MainWindowFixture f(kEntries);
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w));
        const QString readMe = QDir(dir.path()).filePath(u"README.txt"_s);
        const QString help = QDir(dir.path()).filePath(u"Cofferly.hlp"_s);
        QStringList expected;
        for (const QString& file : {QString(), readMe, help}) {
            if (!file.isEmpty())
                TestFiles::Write(file, "help");
            QTest::keyClick(&w, Qt::Key_F1);
            if (!file.isEmpty())
                expected << QDir::toNativeSeparators(file);
            QCOMPARE(desktop.opened, expected);
        }
    }
};

QTEST_MAIN(TestCopyAndOpen)
#include "tst_copy_and_open.moc"
