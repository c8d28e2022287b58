// Code page 932 against the table of every byte sequence Windows decodes.
#include "store/cp932.h"
#include "store/data_file.h"

#include <QFile>
#include <QtTest>

namespace {

struct Row {
    QByteArray bytes;
    char32_t codePoint;
    bool encodes;
};

QList<Row> LoadTable()
{
    QFile file(QStringLiteral(COFFERLY_TEST_DATA "/cp932.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cp932.tsv missing");
    QList<Row> rows;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> cols = line.split('\t');
        rows << Row{QByteArray::fromHex(cols[0]), char32_t(cols[1].toUInt(nullptr, 16)),
                    cols[2] == "1"};
    }
    return rows;
}

QString FromUcs4(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

} // namespace

class TestCp932 : public QObject {
    Q_OBJECT
private slots:
    void everyRowDecodesAndEncodesLikeWindows()
    {
        const QList<Row> rows = LoadTable();
        QVERIFY(rows.size() > 9000);
        int encoded = 0;
        for (const Row& row : rows) {
            const auto text = Cp932::Decode(row.bytes);
            QVERIFY2(text && *text == FromUcs4(row.codePoint),
                     qPrintable(
                         QStringLiteral("decode %1").arg(QString::fromLatin1(row.bytes.toHex()))));
            if (!row.encodes)
                continue;
            const auto bytes = Cp932::Encode(FromUcs4(row.codePoint));
            QVERIFY2(bytes && *bytes == row.bytes,
                     qPrintable(QStringLiteral("encode U+%1").arg(uint(row.codePoint), 4, 16)));
            ++encoded;
        }
        QVERIFY(encoded > 7000);
    }

    // A file holding every encodable character saves byte for byte as it was loaded.
    void fileOfAllCharactersRoundTrips()
    {
        QByteArray all;
        for (const Row& row : LoadTable()) {
            // Characters the file format itself uses cannot stand inside a field.
            if (row.encodes && row.bytes != "\"" && row.bytes != "\r" && row.bytes != "\n")
                all += row.bytes;
        }
        QByteArray file = "15,30\r\n";
        for (int i = 0; i < 4; ++i)
            file += '"' + all + "\"\r\n";
        const auto parsed = DataFile::Parse(file);
        const auto* contents = std::get_if<DataFile::Contents>(&parsed);
        QVERIFY(contents);
        QCOMPARE(contents->entries.size(), 1);
        const auto again = DataFile::Format(contents->position, contents->entries);
        QVERIFY(again);
        QCOMPARE(*again, file);
    }

    void duplicatesEncodeToTheWindowsChoice()
    {
        // NEC row 13 and IBM extension duplicates: Windows prefers these byte sequences.
        QCOMPARE(*Cp932::Encode(u"\u2252"), QByteArray("\x81\xE0")); // ≒ JIS row, not NEC
        QCOMPARE(*Cp932::Encode(u"\u2170"), QByteArray("\xFA\x40")); // ⅰ IBM, not NEC-selected
        QCOMPARE(*Cp932::Encode(u"\uFFE2"), QByteArray("\x81\xCA")); // ￢
    }

    void singleBytesOutsideGlibc()
    {
        const QByteArray bytes("\x80\xA0\xFD\xFE\xFF", 5);
        const auto text = Cp932::Decode(bytes);
        QVERIFY(text);
        QCOMPARE(*text, QStringView(u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3").toString());
        QCOMPARE(*Cp932::Encode(*text), bytes);
        // As trail bytes they belong to the double-byte character.
        QCOMPARE(*Cp932::Decode("\x81\x80"), QStringView(u"\u00F7").toString());
    }

    void refusesWhatItCannotMapInsteadOfSubstituting()
    {
        QVERIFY(!Cp932::Encode(u"\U0001F600"));          // emoji
        QVERIFY(!Cp932::Encode(u"\u00E9"));              // é
        QVERIFY(!Cp932::Encode(QString(QChar(0xD800)))); // lone surrogate
        qsizetype at = -1;
        QVERIFY(!Cp932::Decode("ab\x85\x40", &at)); // unassigned lead byte
        QCOMPARE(at, 2);
        QVERIFY(!Cp932::Decode("abc\x81")); // cut inside a double-byte character
    }

    void unfaithfulCharactersAreNamed()
    {
        QCOMPARE(Cp932::FirstUnfaithful(u"ok〜no"), std::optional<char32_t>(U'\u301C'));
        QCOMPARE(Cp932::FirstUnfaithful(u"a\u00A5"), std::optional<char32_t>(U'\u00A5'));
        QCOMPARE(Cp932::FirstUnfaithful(u"x\U0001F511y"), std::optional<char32_t>(U'\U0001F511'));
        QCOMPARE(Cp932::FirstUnfaithful(u"全角～ＡＢＣ"), std::nullopt);
        QCOMPARE(Cp932::FirstUnfaithful(u""), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
