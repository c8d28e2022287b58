// Characters the data file cannot hold are refused at the commit, with nothing typed lost.
#include "support/window_driver.h"

#include <QClipboard>
#include <QFileInfo>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using WindowDriver::Click;

namespace {

const QStringList kFieldNames = {u"見出し"_s, u"ID"_s, u"PW"_s, u"関連URL"_s};

} // namespace

class TestRefusedCharacters : public QObject {
    Q_OBJECT
private slots:
    void refusedWithTheModeKeptOpen_data()
    {
        QTest::addColumn<QString>("bad");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("alike"); // what code page 932 holds that looks the same
        QTest::addColumn<int>("field");
        QTest::addColumn<bool>("add");
        const struct {
            const char* name;
            QString bad, code, shown, alike = {};
        } characters[] = {
            {"double quote", u"\""_s, u"U+0022"_s, u"\""_s},
            {"CR", u"\r"_s, u"U+000D"_s, u"改行"_s},
            {"LF", u"\n"_s, u"U+000A"_s, u"改行"_s},
            {"wave dash", u"\u301c"_s, u"U+301C"_s, u"\u301c"_s, u"\uff5e"_s},
            {"double vertical line", u"\u2016"_s, u"U+2016"_s, u"\u2016"_s, u"\u2225"_s},
            {"minus sign", u"\u2212"_s, u"U+2212"_s, u"\u2212"_s, u"\uff0d"_s},
            {"cent sign", u"\u00a2"_s, u"U+00A2"_s, u"\u00a2"_s, u"\uffe0"_s},
            {"pound sign", u"\u00a3"_s, u"U+00A3"_s, u"\u00a3"_s, u"\uffe1"_s},
            {"not sign", u"\u00ac"_s, u"U+00AC"_s, u"\u00ac"_s, u"\uffe2"_s},
            {"em dash", u"\u2014"_s, u"U+2014"_s, u"\u2014"_s, u"\u2015"_s},
            {"yen sign", u"\u00a5"_s, u"U+00A5"_s, u"\u00a5"_s},
            {"emoji", u"\U0001F511"_s, u"U+1F511"_s, u"\U0001F511"_s},
            {"lone high surrogate", QString(QChar(0xD83D)), u"U+D83D"_s, QString()},
            {"lone low surrogate", QString(QChar(0xDD11)), u"U+DD11"_s, QString()},
            {"not in the code page", u"\u0100"_s, u"U+0100"_s, u"\u0100"_s},
        };
        for (const auto& c : characters)
            for (int field = 0; field < 4; ++field)
                QTest::addRow("%s in %d", c.name, field)
                    << c.bad << c.code << c.shown << c.alike << field << (field % 2 == 0);
    }

    void refusedWithTheModeKeptOpen()
    {
        QFETCH(QString, bad);
        QFETCH(QString, code);
        QFETCH(QString, shown);
        QFETCH(QString, alike);
        QFETCH(int, field);
        QFETCH(bool, add);
        QStringList texts{u"見出し"_s, u"user"_s, u"pw"_s, u"https://e.example"_s};
        texts[field] = u"ab"_s + bad + u"cd"_s;
        const auto entries = TestFiles::NumberedEntries(2);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        const QByteArray& before = f.before;
        QVERIFY(WindowDriver::ShowActive(w));
        WindowDriver::EnterMode(w, add);
        WindowDriver::SetPanel(w, texts);
        QCOMPARE(WindowDriver::TextsInPanel(w), texts);
        Click(w.Controls().Bt_OK[0]);

        QCOMPARE(desktop.messages.size(), 1);
        const MessageRequest& m = desktop.messages[0];
        QVERIFY2(m.text.contains(kFieldNames[field]), qPrintable(m.text));
        QVERIFY2(m.text.contains(code), qPrintable(m.text));
        if (!shown.isEmpty())
            QVERIFY2(m.text.contains(u'「' + shown + u'」'), qPrintable(m.text));
        // The look-alike is named, never put in the user's place.
        QCOMPARE(m.text.contains(u"見た目"_s), !alike.isEmpty());
        QVERIFY2(alike.isEmpty() || m.text.contains(u'「' + alike + u'」'), qPrintable(m.text));
        QCOMPARE(m.title, u"Cofferly"_s);
        QCOMPARE(m.buttons, MessageRequest::Buttons::Ok);
        QCOMPARE(m.icon, QMessageBox::Warning);
        VERIFY_MODE(w, add ? u"追 加"_s : u"確 定"_s);
        QCOMPARE(WindowDriver::TextsInPanel(w), texts);
        QCOMPARE(QApplication::focusWidget(), w.Controls().Tx_Data[field]);
        QCOMPARE(w.Controls().Tx_Data[field]->selectionStart(), 2);
        QCOMPARE(w.Controls().Tx_Data[field]->selectedText(), bad);
        QCOMPARE(dir.data(), before);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
        QCOMPARE(w.Table().size(), 2);

        // With the character taken out, or its look-alike typed instead, the same mode commits.
        texts[field] = u"ab"_s + alike + u"cd"_s;
        w.Controls().Tx_Data[field]->setText(texts[field]);
        QTest::keyClick(w.Controls().Tx_Data[field], Qt::Key_Return);
        VERIFY_STORED(w, dir, WindowDriver::Committed(entries, add, 1, texts));
        QCOMPARE(dir.backup(), before);
        QCOMPARE(desktop.messages.size(), 1);
    }

    // The first box in panel order that holds such a character is the one named.
    void firstOffendingBoxIsNamed()
    {
        MainWindowFixture f(TestFiles::NumberedEntries(1));
        auto [dir, desktop, w] = f.Parts();
        QVERIFY(WindowDriver::ShowActive(w));
        Click(w.Controls().Bt_Edit);
        w.Controls().Tx_Data[1]->setText(u"a\u301cb"_s);
        w.Controls().Tx_Data[3]->setText(u"\"q\""_s);
        Click(w.Controls().Bt_OK[0]);
        QCOMPARE(desktop.messages.size(), 1);
        QVERIFY(desktop.messages[0].text.contains(u"U+301C"_s));
        QVERIFY(!desktop.messages[0].text.contains(u"U+0022"_s));
        QCOMPARE(QApplication::focusWidget(), w.Controls().Tx_Data[1]);
        w.Controls().Tx_Data[1]->setText(u"ab"_s);
        Click(w.Controls().Bt_OK[0]);
        QCOMPARE(desktop.messages.size(), 2);
        QVERIFY(desktop.messages[1].text.contains(u"U+0022"_s));
        QVERIFY(desktop.messages[1].text.contains(u"関連URL"_s));
        QCOMPARE(QApplication::focusWidget(), w.Controls().Tx_Data[3]);
    }

    // A line break cannot be typed into a line box but can be pasted; it is refused too.
    void pastedLineBreakIsRefused()
    {
        MainWindowFixture f(TestFiles::NumberedEntries(1));
        auto [dir, desktop, w] = f.Parts();
        const QByteArray& before = f.before;
        QVERIFY(WindowDriver::ShowActive(w));
        QTest::mouseClick(w.Controls().Bt_Add, Qt::LeftButton);
        QGuiApplication::clipboard()->setText(u"line one\r\nline two"_s);
        QTest::keySequence(w.Controls().Tx_Data[2], QKeySequence::Paste);
        QCOMPARE(w.Controls().Tx_Data[2]->text(), u"line one\r\nline two"_s);
        QTest::keyClick(w.Controls().Tx_Data[2], Qt::Key_Return);
        QCOMPARE(desktop.messages.size(), 1);
        QVERIFY(desktop.messages[0].text.contains(u"改行"_s));
        QVERIFY(desktop.messages[0].text.contains(u"U+000D"_s));
        VERIFY_MODE(w, u"追 加"_s);
        QCOMPARE(w.Controls().Tx_Data[2]->text(), u"line one\r\nline two"_s);
        QCOMPARE(dir.data(), before);
    }

    // Characters that survive the trip through code page 932 are stored as typed.
    void lookAlikesThatSurviveAreStored()
    {
        auto entries = TestFiles::NumberedEntries(1);
        MainWindowFixture f(entries);
        auto [dir, desktop, w] = f.Parts();
        Click(w.Controls().Bt_Add);
        const QStringList texts{u"  ～ ｺﾌｧﾘｰ ①ⅰ∑  "_s, u"a\\b'c,d"_s, u"\tp w\t"_s,
                                u"https://例え.jp/?q=1,2&r='3'"_s};
        WindowDriver::Type(w, texts);
        // A tab cannot be typed into a line box, but it can be pasted.
        QGuiApplication::clipboard()->setText(texts[2]);
        w.Controls().Tx_Data[2]->selectAll();
        QTest::keySequence(w.Controls().Tx_Data[2], QKeySequence::Paste);
        QCOMPARE(WindowDriver::TextsInPanel(w), texts);
        Click(w.Controls().Bt_OK[0]);
        QVERIFY(desktop.messages.isEmpty());
        entries << texts;
        VERIFY_STORED(w, dir, entries);
    }
};

QTEST_MAIN(TestRefusedCharacters)
#include "tst_refused_characters.moc"
