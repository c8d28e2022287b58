// Awkward input through the main window: characters the file cannot hold, very long
// texts, a full table, texts of many pieces, an empty title. Each is either stored and
// read back exactly (file bytes and a fresh start) or refused with a message naming the
// character, with nothing typed lost.
#include "resources/texts.h"
#include "store/data_file.h"
#include "support/window_driver.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using WindowDriver::SetPanel;

namespace {

using EntryLists = QList<QStringList>;

// The file's entry lines: everything after the position record.
QByteArray EntryLines(const QByteArray& file)
{
    return file.mid(file.indexOf("\r\n") + 2);
}

// The file holds exactly `entries`, and a fresh start reads them all back.
QString CheckStored(const ProgramDir& dir, const EntryLists& entries)
{
    if (EntryLines(dir.data()) != EntryLines(TestFiles::Make(0, 0, entries)))
        return u"file bytes differ"_s;
    RecordingDesktop desktop;
    OpenedWindow again(dir.path(), desktop);
    if (!again)
        return u"the file does not load"_s;
    if (TestFiles::AsLists(again->Table()) != entries)
        return u"entries read back differ"_s;
    return {};
}

// A text of `n` characters drawn from Japanese, half-width kana, ASCII and symbols that
// all survive code page 932.
QString LongText(int n, char16_t salt)
{
    const QString alphabet =
        u"あいうえおカキクケコ漢字表示ｱｲｳｴｵabcXYZ019-_.,;:!?@#$%&()[]{}<>~ー・＼"_s;
    QString s;
    s.reserve(n);
    for (int i = 0; i < n; ++i)
        s += alphabet[(i * 7 + salt) % alphabet.size()];
    return s;
}

// "p0-p1-...-pN": `dashes` dashes, so dashes + 1 pieces.
QString Dashed(int dashes)
{
    QStringList pieces;
    for (int i = 0; i <= dashes; ++i)
        pieces << u"片%1"_s.arg(i);
    return pieces.join(u'-');
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT
private slots:
    // Texts of 100,000 characters in every field: added, read back, edited unchanged.
    void hundredThousandCharacters()
    {
        ProgramDir dir(TestFiles::Make(0, 0, {{u"先頭"_s, {}, {}, {}}}));
        const QStringList huge = {LongText(100000, 0), LongText(100000, 1), LongText(100000, 2),
                                  LongText(100000, 3)};
        {
            RecordingDesktop desktop;
            OpenedWindow opened(dir.path(), desktop);
            Fm_Cofferly& w = *opened;
            w.Bt_Add_Click();
            SetPanel(w, huge);
            QCOMPARE(WindowDriver::TextsInPanel(w), huge); // the boxes take the whole text
            w.Bt_OK_Click(0);
            QVERIFY(desktop.messages.isEmpty());
        }
        const EntryLists expected = {{u"先頭"_s, {}, {}, {}}, huge};
        QString problem = CheckStored(dir, expected);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        // Editing the entry shows every character and a commit keeps them all.
        RecordingDesktop desktop;
        OpenedWindow opened(dir.path(), desktop);
        Fm_Cofferly& w = *opened;
        w.Controls().IComboTitle->SelectItem(2);
        w.Bt_Edit_Click();
        QCOMPARE(WindowDriver::TextsInPanel(w), huge);
        w.Bt_OK_Click(0);
        problem = CheckStored(dir, expected);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    // A full table of 1,000-character texts; the 201st entry is refused.
    void twoHundredEntriesOfAThousandCharacters()
    {
        EntryLists entries;
        for (int i = 0; i < 199; ++i)
            entries << QStringList{LongText(1000, char16_t(i)), LongText(1000, char16_t(i + 1)),
                                   LongText(1000, char16_t(i + 2)),
                                   LongText(1000, char16_t(i + 3))};
        const QStringList last = {LongText(1000, 7), LongText(1000, 8), LongText(1000, 9),
                                  LongText(1000, 10)};
        MainWindowFixture f(entries, 0, 0);
        auto [dir, desktop, w] = f.Parts();
        w.Controls().IComboTitle->SelectItem(199);
        w.Bt_Add_Click();
        SetPanel(w, last);
        w.Bt_OK_Click(0);
        QVERIFY(desktop.messages.isEmpty());
        entries << last;
        QString problem = CheckStored(dir, entries);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        const QByteArray full = dir.data();
        w.Bt_Add_Click();
        QCOMPARE(desktop.messages.size(), 1); // the table is full
        QCOMPARE(dir.data(), full);
        QCOMPARE(w.Table().size(), 200);
    }

    // A PW of many pieces is stored whole and copied piece by piece, every piece in turn.
    void manyDashes_data()
    {
        QTest::addColumn<int>("dashes");
        QTest::newRow("ten") << 10;
        QTest::newRow("a hundred") << 100;
    }
    void manyDashes()
    {
        QFETCH(int, dashes);
        const QString pw = Dashed(dashes);
        MainWindowFixture f({{u"t"_s, u"id"_s, u"pw"_s, {}}}, 0, 0);
        auto [dir, desktop, w] = f.Parts();
        w.Bt_Edit_Click();
        SetPanel(w, {u"多片"_s, u"id"_s, pw, {}});
        w.Bt_OK_Click(0);
        const QString problem = CheckStored(dir, {{u"多片"_s, u"id"_s, pw, {}}});
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        QCOMPARE(w.Controls().Lb_data[1]->text(), pw);
        QStringList copied;
        for (int i = 0; i <= dashes; ++i) {
            QTest::mouseClick(w.Controls().Bt_Clip[1], Qt::LeftButton);
            copied << QApplication::clipboard()->text();
            QCOMPARE(w.Controls().LbClipBoard->text(), copied.last());
            // The rest of the window waits until the last piece is copied.
            QCOMPARE(w.Controls().Bt_Add->isEnabled(), i == dashes);
        }
        QCOMPARE(copied.size(), dashes + 1);
        QCOMPARE(copied.join(u'-'), pw);
    }

    // Hand-edited files that could be read but never written back as they are: refused at
    // start-up with the line (and the entry) named, and left alone.
    void handEditedFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("edited");
        QTest::addColumn<QString>("reason");
        QTest::newRow("quote inside an unquoted field")
            << QByteArray("0,0\r\nBank\r\nme\"x\r\n\"\"\r\n\"\"\r\n")
            << Texts::FileStrayQuote.arg(Texts::FilePlaceInEntry.arg(3).arg(1));
        QTest::newRow("text after the closing quote")
            << QByteArray("0,0\r\n\"Bank\"\r\n\"me\"\r\n\"pass\"word!\r\n\"\"\r\n")
            << Texts::FileTextAfterQuote.arg(Texts::FilePlaceInEntry.arg(4).arg(1));
        QTest::newRow("in the second entry")
            << QByteArray("0,0\r\n\"A\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n"
                          "\"B\"\r\n\"\"\r\n\"\"x\r\n\"\"\r\n")
            << Texts::FileTextAfterQuote.arg(Texts::FilePlaceInEntry.arg(8).arg(2));
        QTest::newRow("a position of six fields")
            << QByteArray("1500,1500,a,b,c,d\r\n\"Bank\"\r\n\"me\"\r\n\"pw\"\r\n\"\"\r\n")
            << Texts::FilePositionFields;
        QTest::newRow("one entry more than the table holds")
            << "0,0\r\n"_ba + QByteArray("\"t\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n").repeated(201)
            << u"データが 200 件を超えています。"_s;
    }

    void handEditedFilesAreRefused()
    {
        QFETCH(QByteArray, edited);
        QFETCH(QString, reason);
        ProgramDir dir(edited);
        RecordingDesktop desktop;
        QVERIFY(!OpenedWindow(dir.path(), desktop));
        QCOMPARE(desktop.messages.size(), 1);
        const MessageRequest& m = desktop.messages[0];
        QCOMPARE(m.icon, QMessageBox::Critical);
        QVERIFY2(m.text.contains(QDir::toNativeSeparators(dir.dataPath())), qPrintable(m.text));
        QVERIFY2(m.text.contains(reason), qPrintable(m.text));
        QCOMPARE(dir.data(), edited);
        QVERIFY(!QFileInfo::exists(dir.backupPath()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"Cofferly.Dat"_s});
    }

    // A data file that cannot be read, with a way back: the backup beside it, or its own
    // texts when an editor saved them as UTF-8. Yes opens that and keeps the unreadable
    // version under a name of its own; no ends with both files as they were.
    void unreadableFileOffersTheWayBack_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("opens"); // the title of the first entry shown
        const QByteArray backup = TestFiles::Make(0, 0, {{u"控え"_s, u"i"_s, u"p"_s, u""_s}});
        const QByteArray cut("0,0\r\n\"Bank\"\r\n\"me\"\r\n");
        const QByteArray utf8("0,0\r\n\"銀行\"\r\n\"me\"\r\n\"pw\"\r\n\"\"\r\n");
        const QString cutReason = Texts::FileCutInEntry.arg(Texts::FilePlaceInEntry.arg(4).arg(1));
        QTest::newRow("cut, backup opened") << cut << cutReason << true << u"控え"_s;
        QTest::newRow("cut, no") << cut << cutReason << false << QString();
        QTest::newRow("UTF-8, converted") << utf8 << u"UTF-8"_s << true << u"銀行"_s;
        QTest::newRow("UTF-8, no") << utf8 << u"UTF-8"_s << false << QString();
    }
    void unreadableFileOffersTheWayBack()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, question);
        QFETCH(bool, yes);
        QFETCH(QString, opens);
        ProgramDir dir(data);
        const QByteArray backup = TestFiles::Make(0, 0, {{u"控え"_s, u"i"_s, u"p"_s, u""_s}});
        TestFiles::Write(dir.backupPath(), backup);
        RecordingDesktop desktop;
        desktop.answers.push_back(yes ? MessageRequest::Answer::Yes : MessageRequest::Answer::No);
        OpenedWindow opened(dir.path(), desktop);
        QCOMPARE(desktop.messages.size(), 1);
        QCOMPARE(desktop.messages[0].buttons, MessageRequest::Buttons::YesNo);
        QVERIFY2(desktop.messages[0].text.contains(question), qPrintable(desktop.messages[0].text));
        QVERIFY(desktop.messages[0].text.contains(QDir::toNativeSeparators(dir.dataPath())));
        QCOMPARE(bool(opened), yes);
        QCOMPARE(dir.backup(), backup);
        const QStringList kept = QDir(dir.path()).entryList({u"Cofferly.Dat.*"_s}, QDir::Files);
        if (!yes) {
            QCOMPARE(dir.data(), data);
            QVERIFY(kept.isEmpty());
            return;
        }
        QCOMPARE(opened->Controls().IComboTitle->Text(), opens);
        QCOMPARE(kept.size(), 1);
        QCOMPARE(TestFiles::Read(QDir(dir.path()).filePath(kept[0])), data);
    }

    // A position a hair left of the screen is written as 0, which reads back the same.
    void tinyNegativePositionIsWrittenAsZero()
    {
        QCOMPARE(DataFile::FormatNumber(-1e-7), QByteArray("0"));
        QCOMPARE(DataFile::FormatNumber(-0.5), QByteArray("-0.5"));
        QCOMPARE(DataFile::FormatNumber(-15), QByteArray("-15"));
    }
};

QTEST_MAIN(TestBadInput)
#include "tst_bad_input.moc"
