// The data file's bytes: reading rules, writing rules and damaged files.
#include "store/data_file.h"
#include "support/test_support.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

using Problem = DataFile::ParseError::Problem;

DataFile::Contents ParseOk(const QByteArray& bytes)
{
    auto parsed = DataFile::Parse(bytes);
    if (auto* bad = std::get_if<DataFile::ParseError>(&parsed))
        qFatal("unexpected parse error: problem %d, line %d, entry %d", int(bad->problem),
               bad->line, bad->entry);
    return std::get<DataFile::Contents>(parsed);
}

QStringList Texts(const Entry& e)
{
    return {e.title, e.id, e.pw, e.url};
}

// A file with one entry whose title is `title`, as Format writes it; nullopt if refused.
std::optional<QByteArray> FormatTitle(const QString& title)
{
    return DataFile::Format({0, 0}, {Entry{title, {}, {}, {}}});
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
        QCOMPARE(contents.entries.size(), count);
        QCOMPARE(*DataFile::Format(contents.position, contents.entries), file);
    }

    void readsFieldsAsTheWriterLaysThemOut()
    {
        const auto c = ParseOk("-15,30\r\n\"Bank, main\"\r\n\"me\"\r\n\"\"\r\n\"\"\r\n");
        QCOMPARE(c.position.top, -15.0);
        QCOMPARE(c.position.left, 30.0);
        QCOMPARE(Texts(c.entries[0]), QStringList({u"Bank, main"_s, u"me"_s, {}, {}}));
        QVERIFY(!c.entries[0].IsGroup());
        QVERIFY(ParseOk("0,0\r\n\"g\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n").entries[0].IsGroup());
        QVERIFY(!ParseOk("0,0\r\n\"g\"\r\n\"\"\r\n\"\"\r\n\"u\"\r\n").entries[0].IsGroup());
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
        QTest::newRow("comma after a closing quote")
            << QByteArray("0,0\r\n\"t\" ,\"i\",p,\"a\"") << tipa << 1;
        QTest::newRow("LF line ends")
            << QByteArray("0,0\n\"t\"\n\"i\"\n\"p\"\n\"a\"\n") << tipa << 1;
    }
    void acceptsHandEditedShapes()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, first);
        QFETCH(int, count);
        const auto c = ParseOk(file);
        QCOMPARE(c.entries.size(), count);
        QCOMPARE(Texts(c.entries[0]), first);
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

    // Each refusal names its problem and where it lies: the line, and the entry (0 for the
    // position record). Shapes that could only be read by dropping text are refused too.
    void refusesFilesThatCannotBeReadWhole_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Problem>("problem");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("entry");
        const QByteArray one = "0,0\r\n\"t\"\r\n\"i\"\r\n\"p\"\r\n\"a\"\r\n";
        QTest::newRow("empty") << QByteArray() << Problem::Empty << 0 << 0;
        QTest::newRow("cut in position") << QByteArray("1500") << Problem::CutInPosition << 1 << 0;
        QTest::newRow("cut after position's first field")
            << QByteArray("1500,") << Problem::CutInPosition << 1 << 0;
        QTest::newRow("cut after title")
            << QByteArray("0,0\r\n\"t\"\r\n") << Problem::CutInEntry << 3 << 1;
        QTest::newRow("cut after PW")
            << QByteArray("0,0\r\n\"t\"\r\n\"i\"\r\n\"p\"\r\n") << Problem::CutInEntry << 5 << 1;
        QTest::newRow("cut inside quotes of the second entry")
            << one + "\"t\"\r\n\"i\"\r\n\"p\"\r\n\"ab" << Problem::CutInEntry << 9 << 2;
        QTest::newRow("not code page 932")
            << QByteArray("0,0\r\n\"\x85\x40\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n") << Problem::NotCp932
            << 2 << 0;
        QTest::newRow("201 entries") << TestFiles::Make(0, 0, TestFiles::NumberedEntries(201))
                                     << Problem::TooManyEntries << 802 << 201;
        QTest::newRow("text after a closing quote")
            << QByteArray("0,0\r\n\"t\"\r\n\"i\"\r\n\"pass\"word!\r\n\"a\"\r\n")
            << Problem::TextAfterQuote << 4 << 1;
        QTest::newRow("text after a closing quote in the position")
            << QByteArray("\"15\"0,0\r\n") << Problem::TextAfterQuote << 1 << 0;
        QTest::newRow("text after a quote spanning lines")
            << one + "\"a\r\nb\"c\r\n\"i\"\r\n\"p\"\r\n\"u\"\r\n"
            << Problem::TextAfterQuote << 7 << 2;
        QTest::newRow("position of six fields")
            << QByteArray("1500,1500,a,b,c,d\r\n\"t\"\r\n\"i\"\r\n\"p\"\r\n\"a\"\r\n")
            << Problem::PositionFields << 1 << 0;
        QTest::newRow("position of three fields")
            << QByteArray("1500,1500,\r\n") << Problem::PositionFields << 1 << 0;
        QTest::newRow("quote inside an unquoted field")
            << one + "\"t\"\r\n\"i\"\r\npa\"ss\r\n\"u\"\r\n"
            << Problem::StrayQuote << 8 << 2;
    }
    void refusesFilesThatCannotBeReadWhole()
    {
        QFETCH(QByteArray, file);
        QFETCH(Problem, problem);
        QFETCH(int, line);
        QFETCH(int, entry);
        const auto parsed = DataFile::Parse(file);
        const auto* bad = std::get_if<DataFile::ParseError>(&parsed);
        QVERIFY(bad);
        QCOMPARE(bad->problem, problem);
        QCOMPARE(bad->line, line);
        QCOMPARE(bad->entry, entry);
    }

    void undecodableByteIsLocated()
    {
        const auto parsed = DataFile::Parse("0,0\r\n\"ok\"\r\n\"\"\r\n\"a\x85\x40\"\r\n\"\"\r\n");
        const auto* bad = std::get_if<DataFile::ParseError>(&parsed);
        QVERIFY(bad);
        QCOMPARE(bad->problem, Problem::NotCp932);
        QCOMPARE(bad->line, 4);
        QCOMPARE(bad->offset, 17);
    }

    void writesTheDefaultFile()
    {
        QCOMPARE(DataFile::DefaultFile({1500, 3000}, u"新規グループ"_s),
                 QByteArray("1500,3000\r\n"
                            "\"\x90\x56\x8B\x4B\x83\x4F\x83\x8B\x81\x5B\x83\x76\"\r\n"
                            "\"\"\r\n\"\"\r\n\"\"\r\n"));
        QCOMPARE(DataFile::DefaultFile({0, 0}, u"\u301C"_s), std::nullopt);
    }

    void formatRefusesTextsTheFileCannotHold()
    {
        QVERIFY(!FormatTitle(u"say \"hi\""_s));
        QVERIFY(!FormatTitle(u"smile \U0001F600"_s));
        // Only the entries given are written; a refusal in any field refuses the file.
        Entries entries = TestFiles::FromLists(TestFiles::NumberedEntries(3));
        QVERIFY(DataFile::Format({0, 0}, entries));
        entries[2].url = u"https://example.com/\u301C"_s;
        QVERIFY(!DataFile::Format({0, 0}, entries));
    }

    // Format and FirstUnstorable agree on every text without a line break; a line break
    // cannot be typed into a field, but one that came from a file survives its quotes.
    void formatAgreesWithFirstUnstorable_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("unstorable"); // the code point FirstUnstorable names, or 0
        QTest::newRow("plain") << u"plain, text"_s << 0;
        QTest::newRow("Japanese and fullwidth tilde") << u"全角～ｶﾅ"_s << 0;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("wave dash") << u"ok\u301Cno"_s << 0x301C;
        QTest::newRow("yen sign") << u"a\u00A5"_s << 0xA5;
        QTest::newRow("e acute") << u"caf\u00E9"_s << 0xE9;
        QTest::newRow("emoji") << u"x\U0001F511"_s << 0x1F511;
        QTest::newRow("double quote") << u"say \"hi\""_s << int('"');
        QTest::newRow("wave dash before a quote") << u"\u301C\""_s << 0x301C;
        QTest::newRow("quote before a wave dash") << u"\"\u301C"_s << int('"');
    }
    void formatAgreesWithFirstUnstorable()
    {
        QFETCH(QString, text);
        QFETCH(int, unstorable);
        const auto first = DataFile::FirstUnstorable(text);
        QCOMPARE(first.value_or(0), char32_t(unstorable));
        const auto bytes = FormatTitle(text);
        QCOMPARE(bytes.has_value(), unstorable == 0);
        if (bytes)
            QCOMPARE(ParseOk(*bytes).entries.value(0).title, text);
    }

    void lineBreakInsideATextRoundTrips()
    {
        const QString text = u"line one\r\nline two\nthree"_s;
        QCOMPARE(DataFile::FirstUnstorable(text), std::optional<char32_t>(U'\r'));
        const auto bytes = FormatTitle(text);
        QVERIFY(bytes);
        const auto contents = ParseOk(*bytes);
        QCOMPARE(contents.entries.size(), 1);
        QCOMPARE(contents.entries[0].title, text);
        QCOMPARE(DataFile::Format(contents.position, contents.entries), bytes);
    }
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_data_file.moc"
