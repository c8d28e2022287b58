// The encrypted data file's bytes: known answers, what it refuses and why, and that the
// data file's bytes come back exactly.
#include "resources/store_messages.h"
#include "resources/texts.h"
#include "store/data_file.h"
#include "store/sealed_store.h"
#include "support/test_support.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using SealedFile::Refusal;

namespace {

// Known answers worked out apart from the program: XChaCha20-Poly1305 from its draft's
// own test vector (key 80..9f, nonce 40..57), Argon2id from a second implementation.
const QByteArray kKnownKey = QByteArray::fromHex("808182838485868788898a8b8c8d8e8f"
                                                 "909192939495969798999a9b9c9d9e9f");
const QByteArray kKnownSalt = QByteArray::fromHex("000102030405060708090a0b0c0d0e0f");
const QByteArray kKnownNonce =
    QByteArray::fromHex("404142434445464748494a4b4c4d4e4f5051525354555657");
const QByteArray kKnownFile = QByteArray::fromHex(
    "894346454e430d0a0100010300000000000100000102030405060708090a0b0c0d0e0f40414243444546"
    "4748494a4b4c4d4e4f5051525354555657c12043f951d27fb8766155defc8cf030104a784c7533bee1c0"
    "98d70148d29ceffde3ea9c8d0b4fb9650fa5f978");
const QByteArray kKdfKey =
    QByteArray::fromHex("a28c85167b1445e35a9bbb71c2ac5b72eb5ee7228ee629588bc437dfd5588cf6");

// Cheap enough for a table of files; the header carries it, so Unlock uses it as well.
constexpr KdfCost kTestCost{1, 8};
const QString kPassword = u"正しいパスワード"_s;

template <typename Array> Array ArrayOf(const QByteArray& bytes)
{
    Array array{};
    std::copy_n(bytes.constData(), array.size(), reinterpret_cast<char*>(array.data()));
    return array;
}

SealKey KnownKey()
{
    return *SealKey::FromBytes(ArrayOf<std::array<unsigned char, SealKey::kSize>>(kKnownKey));
}

SealedFile::Header KnownHeader()
{
    return {{3, 64 * 1024}, ArrayOf<Salt>(kKnownSalt), ArrayOf<SealedFile::Nonce>(kKnownNonce)};
}

QByteArray KeyBytes(const SealKey& key)
{
    return QByteArray(reinterpret_cast<const char*>(key.Bytes()), SealKey::kSize);
}

// `plain` sealed for kPassword at the test cost.
QByteArray SealedForPassword(const QByteArray& plain)
{
    SealedFile::Header header{kTestCost, FreshSalt(), {}};
    return SealedFile::Seal(*DeriveKey(kPassword, header.salt, kTestCost), header, plain);
}

QByteArray Changed(QByteArray bytes, qsizetype at, char to)
{
    bytes[at] = to;
    return bytes;
}

} // namespace

class TestSealedFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(CryptoReady()); }

    void sealsAndOpensKnownAnswers()
    {
        const QByteArray plain = TestFiles::Make(0, 0, {{u"銀行"_s, u"me"_s, u"pw"_s, {}}});
        QCOMPARE(SealedFile::SealWithNonce(KnownKey(), KnownHeader(), plain), kKnownFile);
        QCOMPARE(std::get<QByteArray>(SealedFile::Open(KnownKey(), kKnownFile)), plain);
        const auto header = std::get<SealedFile::Header>(SealedFile::ReadHeader(kKnownFile));
        QCOMPARE(SealedFile::HeaderBytes(header), kKnownFile.first(SealedFile::kHeaderSize));

        const auto derived = DeriveKey(u"パスワード one", ArrayOf<Salt>(kKnownSalt), kTestCost);
        QVERIFY(derived && derived->IsSet());
        QCOMPARE(KeyBytes(*derived), kKdfKey);
    }

    // The data file's own bytes come back exactly, and the reader takes them as they are.
    void roundTripsTheDataFileByteForByte_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::newRow("no entries") << QByteArray("1500,3000\r\n");
        QTest::newRow("200 entries") << TestFiles::Make(15, 30, TestFiles::NumberedEntries(200));
        QTest::newRow("Japanese") << TestFiles::Make(
            -450, 0, {{u"新規グループ"_s, {}, {}, {}}, {u"ｶﾅ,漢字"_s, u"ＩＤ"_s, u"秘密"_s, {}}});
    }
    void roundTripsTheDataFileByteForByte()
    {
        QFETCH(QByteArray, plain);
        const QByteArray first = SealedForPassword(plain);
        auto unlocked = std::get<SealedFile::Unlocked>(SealedFile::Unlock(kPassword, first));
        QCOMPARE(unlocked.plain, plain);
        QVERIFY(std::holds_alternative<DataFile::Contents>(DataFile::Parse(unlocked.plain)));
        QVERIFY(!first.contains(plain.right(std::min<qsizetype>(plain.size(), 12))));

        // The next save: the same key and salt, a fresh nonce, and so other bytes.
        const QByteArray second = SealedFile::Seal(unlocked.key, unlocked.header, plain);
        QCOMPARE(second.first(35), first.first(35));
        QVERIFY(second.mid(35, 24) != first.mid(35, 24));
        QVERIFY(second.mid(SealedFile::kHeaderSize) != first.mid(SealedFile::kHeaderSize));
        QCOMPARE(std::get<QByteArray>(SealedFile::Open(unlocked.key, second)), plain);

        unlocked.key.Wipe();
        QVERIFY(!unlocked.key.IsSet());
    }

    void refusesWithItsReason_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("password");
        QTest::addColumn<Refusal>("refusal");
        QTest::addColumn<QString>("reason");
        const QByteArray good =
            SealedForPassword(TestFiles::Make(0, 0, TestFiles::NumberedEntries(3)));
        const qsizetype size = good.size();
        auto row = [&](const char* name, const QByteArray& file, Refusal refusal,
                       const QString& reason, const QString& password = kPassword) {
            QTest::newRow(name) << file << password << refusal << reason;
        };
        row("wrong password", good, Refusal::NotOpened, Texts::SealNotOpened, u"正しくない"_s);
        row("salt byte changed", Changed(good, 20, good[20] ^ 1), Refusal::NotOpened,
            Texts::SealNotOpened);
        row("nonce byte changed", Changed(good, 58, good[58] ^ 1), Refusal::NotOpened,
            Texts::SealNotOpened);
        row("cost changed", Changed(good, 11, 2), Refusal::NotOpened, Texts::SealNotOpened);
        row("body byte changed", Changed(good, 70, good[70] ^ 0x40), Refusal::NotOpened,
            Texts::SealNotOpened);
        row("tag byte changed", Changed(good, size - 1, good[size - 1] ^ 1), Refusal::NotOpened,
            Texts::SealNotOpened);
        row("cut in the body", good.first(size - 1), Refusal::NotOpened, Texts::SealNotOpened);
        row("cut before the tag", good.first(SealedFile::kHeaderSize + 15), Refusal::Cut,
            Texts::SealCut);
        row("cut in the header", good.first(30), Refusal::Cut, Texts::SealCut);
        row("cut in the magic", good.first(3), Refusal::Cut, Texts::SealCut);
        row("empty", QByteArray(), Refusal::Cut, Texts::SealCut);
        row("magic changed", Changed(good, 6, '\n'), Refusal::NotSealed, Texts::SealNotSealed);
        row("a plain data file", TestFiles::Make(0, 0, {}), Refusal::NotSealed,
            Texts::SealNotSealed);
        row("unknown version", Changed(good, 8, 2), Refusal::UnknownVersion,
            Texts::SealUnknownVersion);
        row("unknown key derivation", Changed(good, 10, 2), Refusal::UnknownVersion,
            Texts::SealUnknownVersion);
        row("cost beyond reach", Changed(good, 18, '\x7f'), Refusal::UnknownVersion,
            Texts::SealUnknownVersion);
    }
    void refusesWithItsReason()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, password);
        QFETCH(Refusal, refusal);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Cofferly.Enc"_s);
        TestFiles::Write(path, file);
        const auto unlocked = UnlockFile(path, password);
        const auto* error = As<StoreError>(unlocked);
        QVERIFY(error);
        QCOMPARE(error->cause, StoreError::Cause::SealRefused);
        QCOMPARE(error->seal, refusal);
        QCOMPARE(error->path, path);
        QCOMPARE(StoreErrorReason(*error), reason);
        QVERIFY(EndingFailureMessage(*error).contains(ShownPath(path)));
    }
};

QTEST_GUILESS_MAIN(TestSealedFile)
#include "tst_sealed_file.moc"
