// The data file's bytes: reading rules, writing rules and damaged files.
#include "store/data_file.h"
#include "support/test_support.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

DataFile::Contents ParseOk(const QByteArray& bytes)
{
    auto parsed = DataFile::Parse(bytes);
    if (auto* bad = std::get_if<DataFile::ParseError>(&parsed))
        qFatal("unexpected parse error: %s", qPrintable(bad->what));
    return std::get<DataFile::Contents>(parsed);
}

bool Refused(const QByteArray& bytes)
{
    return std::holds_alternative<DataFile::ParseError>(DataFile::Parse(bytes));
}

QStringList Entry(const EntryTable& t, int i)
{
    return {t.DataTitle[i], t.DataID[i], t.DataPW[i], t.DataURL[i]};
}

} // namespace

class TestDataFile : public QObject {
    Q_OBJECT
private slots:
    void roundTripsByteForByte_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("count");
        QTest::newRow("no entries") << QByteArray("1500,3000\r\n") << 0;
        QTest::newRow("one group") << TestFiles::Make(0, 0, {{u"新規グループ"_s, {}, {}, {}}}) << 1;
        QTest::newRow("negative position")
            << TestFiles::Make(-450, -1200, TestFiles::NumberedEntries(2)) << 2;
        QTest::newRow("200 entries")
            << TestFiles::Make(15, 30, TestFiles::NumberedEntries(200)) << 200;
        QTest::newRow("commas, spaces, Japanese")
            << TestFiles::Make(1, 2, {{u" 銀行, 本店 "_s, u"a,b"_s, u"p-w ,x"_s, u"ｶﾅ,漢字"_s}})
            << 1;
        QTest::newRow("all empty") << TestFiles::Make(0, 0, {{{}, {}, {}, {}}}) << 1;
    }
    void roundTripsByteForByte()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, count);
        const auto contents = ParseOk(file);
        QCOMPARE(contents.table.DataCount, count);
        QCOMPARE(*DataFile::Format(contents.position, contents.table), file);
    }

    void readsFieldsAsTheWriterLaysThemOut()
    {
        const auto c = ParseOk("-15,30\r\n\"Bank, main\"\r\n\"me\"\r\n\"\"\r\n\"\"\r\n");
        QCOMPARE(c.position.top, -15.0);
        QCOMPARE(c.position.left, 30.0);
        QCOMPARE(Entry(c.table, 1), QStringList({u"Bank, main"_s, u"me"_s, {}, {}}));
        QVERIFY(!c.table.IsGroup(1));
        QVERIFY(ParseOk("0,0\r\n\"g\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n").table.IsGroup(1));
        QVERIFY(!ParseOk("0,0\r\n\"g\"\r\n\"\"\r\n\"\"\r\n\"u\"\r\n").table.IsGroup(1));
    }

    // Shapes a person may leave after editing the file by hand.
    void acceptsHandEditedShapes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<int>("count");
        const QStringList tipa{u"t"_s, u"i"_s, u"p"_s, u"a"_s};
        QTest::newRow("fields sharing a line")
            << QByteArray("0,0\r\n\"t\",\"i\",\"p\",\"a\"\r\n") << tipa << 1;
        QTest::newRow("no final CR LF")
            << QByteArray("0,0\r\n\"t\"\r\n\"i\"\r\n\"p\"\r\n\"a\"") << tipa << 1;
        QTest::newRow("blank lines at the end")
            << QByteArray("0,0\r\n\"t\"\r\n\"i\"\r\n\"p\"\r\n\"a\"\r\n\r\n  \r\n") << tipa << 1;
        QTest::newRow("blanks around fields")
            << QByteArray(" 0 , 0 \r\n  \"t\"  \r\n\t\"i\"\r\n\"p\" \r\n \"a\"\r\n") << tipa << 1;
        QTest::newRow("unquoted fields")
            << QByteArray("0,0\r\nt\r\n i \r\np\r\na\r\n") << tipa << 1;
        QTest::newRow("text after closing quote")
            << QByteArray("0,0\r\n\"t\"x\r\n\"i\"\r\n\"p\"\r\n\"a\"\r\n") << tipa << 1;
        QTest::newRow("LF line ends")
            << QByteArray("0,0\n\"t\"\n\"i\"\n\"p\"\n\"a\"\n") << tipa << 1;
    }
    void acceptsHandEditedShapes()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, first);
        QFETCH(int, count);
        const auto c = ParseOk(file);
        QCOMPARE(c.table.DataCount, count);
        QCOMPARE(Entry(c.table, 1), first);
    }

    void positionValues()
    {
        QCOMPARE(ParseOk("abc,12\r\n").position.top, 0.0);
        QCOMPARE(ParseOk("abc,12\r\n").position.left, 12.0);
        QCOMPARE(ParseOk("1500.5,-3000\r\n").position.top, 1500.5);
        QCOMPARE(ParseOk("nan,inf\r\n").position.top, 0.0);
        QCOMPARE(ParseOk("nan,inf\r\n").position.left, 0.0);
        QCOMPARE(DataFile::FormatNumber(1500), QByteArray("1500"));
        QCOMPARE(DataFile::FormatNumber(-45), QByteArray("-45"));
        QCOMPARE(DataFile::FormatNumber(12.25), QByteArray("12.25"));
    }

    void refusesFilesThatCannotBeReadWhole_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("cut in position") << QByteArray("1500");
        QTest::newRow("cut after position's first field") << QByteArray("1500,");
        QTest::newRow("cut after title") << QByteArray("0,0\r\n\"t\"\r\n");
        QTest::newRow("cut after PW") << QByteArray("0,0\r\n\"t\"\r\n\"i\"\r\n\"p\"\r\n");
        QTest::newRow("cut inside quotes") << QByteArray("0,0\r\n\"t\"\r\n\"i\"\r\n\"p\"\r\n\"ab");
        QTest::newRow("not code page 932")
            << QByteArray("0,0\r\n\"\x85\x40\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n");
        QTest::newRow("201 entries") << TestFiles::Make(0, 0, TestFiles::NumberedEntries(201));
    }
    void refusesFilesThatCannotBeReadWhole()
    {
        QFETCH(QByteArray, file);
        QVERIFY(Refused(file));
    }

    void writesTheDefaultFile()
    {
        QCOMPARE(DataFile::DefaultFile({1500, 3000}),
                 QByteArray("1500,3000\r\n"
                            "\"\x90\x56\x8B\x4B\x83\x4F\x83\x8B\x81\x5B\x83\x76\"\r\n"
                            "\"\"\r\n\"\"\r\n\"\"\r\n"));
    }

    void formatRefusesTextsTheFileCannotHold()
    {
        EntryTable t;
        t.DataCount = 1;
        t.DataTitle[1] = u"say \"hi\""_s;
        QVERIFY(!DataFile::Format({0, 0}, t));
        t.DataTitle[1] = u"smile \U0001F600"_s;
        QVERIFY(!DataFile::Format({0, 0}, t));
        // Slots above the count are not part of the table and are never written.
        t.DataTitle[1] = u"ok"_s;
        t.DataTitle[2] = u"\U0001F600"_s;
        QVERIFY(DataFile::Format({0, 0}, t));
    }
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_data_file.moc"
