// The data session over the encrypted files: turning encryption on and off byte for byte,
// the start's questions over every set of files, the lock, the password change, the plain
// file out and in, and the plain kept copies.
#include "store/data_folder.h"
#include "store/data_session.h"
#include "support/system_files.h"
#include "support/test_support.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using Question = DataSession::Question;
using Answers = DataSession::Answers;
using Files = QMap<QString, QByteArray>;
Q_DECLARE_METATYPE(DataSession::Answers)

namespace {

const QString kPassword = u"正しい馬の電池"_s;
const QByteArray kA = TestFiles::Make(0, 0, TestFiles::NumberedEntries(2));
const QByteArray kB = TestFiles::Make(0, 0, TestFiles::NumberedEntries(3));
const QByteArray kPlain = TestFiles::Make(0, 0, TestFiles::NumberedEntries(5));

// `plain` sealed for kPassword at a cost cheap enough for a table; the header carries it.
QByteArray Sealed(const QByteArray& plain)
{
    SealedFile::Header header{{1, 8}, FreshSalt(), {}};
    return SealedFile::Seal(*DeriveKey(kPassword, header.salt, header.cost), header, plain);
}

// Every file of the folder with its bytes; kept copies under one name each, ".kept".
Files FolderNow(const QString& dir)
{
    static const QRegularExpression date(u"\\.\\d{8}-\\d{6}(-\\d+)?$"_s);
    Files files;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden))
        files[QString(name).replace(date, u".kept"_s)] = TestFiles::Read(dir + u'/' + name);
    return files;
}

void Put(const QString& dir, const Files& files)
{
    for (auto it = files.begin(); it != files.end(); ++it)
        TestFiles::Write(dir + u'/' + it.key(), it.value());
}

auto Open(const QString& dir, const Answers& answers)
{
    return DataSession::Open(dir, {0, 0}, u"新規グループ"_s, answers);
}

} // namespace

class TestEncryptedSession : public QObject {
    Q_OBJECT
private slots:
    void turnsOnLocksAndTurnsOffByteForByte()
    {
        ProgramDir dir(kB, kA);
        auto session = OpenedSession(dir.path());
        QVERIFY(session && !session->Encrypted());
        TestFiles::Write(dir.path() + u"/Cofferly.Dat.20261208-101010"_s, kA);
        const auto turned = session->TurnOnEncryption(kPassword);
        QCOMPARE(*As<QStringList>(turned), QStringList{u"Cofferly.Dat.20261208-101010"_s});
        QVERIFY(!session->RemoveKeptCopies({u"Cofferly.Dat.20261208-101010"_s}));
        const Files on = FolderNow(dir.path());
        QCOMPARE(on.keys(), (QStringList{u"Cofferly.Enc"_s, u"Cofferly.Enc.bak"_s}));
        // No password in plain text, nor the password itself, in any file.
        QStringList secrets{kPassword};
        for (const QStringList& entry : TestFiles::NumberedEntries(3))
            secrets << entry[2];
        for (const QByteArray& bytes : on)
            for (const QString& secret : secrets)
                QVERIFY(!bytes.contains(secret.toUtf8()));

        auto reopened = Open(dir.path(), Answers{.password = kPassword});
        QVERIFY(As<DataSession>(reopened));
        DataSession& again = std::get<DataSession>(reopened);
        QVERIFY(again.Encrypted() && !again.Locked());
        QCOMPARE(TestFiles::AsLists(again.Table()), TestFiles::NumberedEntries(3));
        // A save of nothing new writes nothing; a locked session saves nothing at all.
        QVERIFY(As<DataSession::SaveReport>(again.SaveAtClose(again.StoredPosition())));
        QCOMPARE(FolderNow(dir.path()), on);
        again.Lock();
        QCOMPARE(As<StoreError>(again.SaveData({1, 1}, {}))->cause, StoreError::Cause::Locked);
        QCOMPARE(again.Unlock(u"wrong"_s)->seal, SealedFile::Refusal::NotOpened);
        QVERIFY(again.Locked());
        QVERIFY(!again.Unlock(kPassword));
        QCOMPARE(FolderNow(dir.path()), on);

        QVERIFY(!again.ChangePassword(u"新しいパスワード"_s));
        QVERIFY(As<DataSession::Asking>(Open(dir.path(), Answers{.password = kPassword})));
        QVERIFY(!again.TurnOffEncryption());
        QCOMPARE(FolderNow(dir.path()), (Files{{u"Cofferly.Dat"_s, kB}, {u"Cofferly.bak"_s, kA}}));
        QVERIFY(!again.Encrypted());
    }

    // The start over each set of files: the question it asks (then nothing is written), or
    // the entries it opens and the files it leaves.
    void startAsksOverEachSetOfFiles_data()
    {
        QTest::addColumn<Files>("files");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<int>("asked"); // a Question, or -1: opened
        QTest::addColumn<int>("entries");
        QTest::addColumn<QStringList>("after");
        QByteArray damaged = Sealed(kA);
        damaged[damaged.size() - 1] = char(damaged.back() ^ 1);
        const QString enc = u"Cofferly.Enc"_s, bak = u"Cofferly.Enc.bak"_s, dat = u"Cofferly.Dat"_s;
        const Answers none, right{.password = kPassword}, wrong{.password = u"x"_s};
        const Answers restore{.restoreBackup = true};
        const Answers restored{.restoreBackup = true, .openBackup = true, .password = kPassword};
        const Answers openBackup{.openBackup = true, .password = kPassword};
        const Answers keep{.password = kPassword, .importPlain = false};
        const Answers import{.password = kPassword, .importPlain = true};
        auto row = [](const char* name, const Files& files, const Answers& answers, int asked,
                      int entries = 0, const QStringList& after = {}) {
            QTest::newRow(name) << files << answers << asked << entries << after;
        };
        const int password = int(Question::Password);
        row("no password yet", {{enc, Sealed(kA)}}, none, password);
        row("wrong password", {{enc, Sealed(kA)}, {bak, Sealed(kB)}}, wrong, password);
        row("right password", {{enc, Sealed(kA)}}, right, -1, 2, {enc});
        row("damaged, no backup", {{enc, damaged}}, right, password);
        row("damaged, backup offered", {{enc, damaged}, {bak, Sealed(kB)}}, right,
            int(Question::OpenBackup));
        row("damaged, backup taken", {{enc, damaged}, {bak, Sealed(kB)}}, openBackup, -1, 3,
            {enc, bak, u"Cofferly.Enc.kept"_s});
        row("backup alone", {{bak, Sealed(kB)}}, none, int(Question::RestoreBackup));
        row("backup alone, to restore", {{bak, Sealed(kB)}}, restore, password);
        row("backup alone, restored", {{bak, Sealed(kB)}}, restored, -1, 3, {enc, bak});
        row("plain beside", {{enc, Sealed(kA)}, {dat, kPlain}}, right, int(Question::PlainBeside));
        row("plain beside, left", {{enc, Sealed(kA)}, {dat, kPlain}}, keep, -1, 2, {dat, enc});
        row("plain beside, imported", {{enc, Sealed(kA)}, {dat, kPlain}}, import, -1, 5,
            {enc, bak, u"Cofferly.Enc.kept"_s});
        // A turn-on cut between its two renames: the plain set is whole and opens.
        row("sealed backup beside plain", {{bak, Sealed(kB)}, {dat, kA}}, none, -1, 2, {dat, bak});
    }

    void startAsksOverEachSetOfFiles()
    {
        QFETCH(Files, files);
        QFETCH(Answers, answers);
        QFETCH(int, asked);
        ProgramDir dir;
        Put(dir.path(), files);
        const Files before = FolderNow(dir.path());
        const auto opened = Open(dir.path(), answers);
        if (asked >= 0) {
            QVERIFY(As<DataSession::Asking>(opened));
            QCOMPARE(int(As<DataSession::Asking>(opened)->question), asked);
            QCOMPARE(FolderNow(dir.path()), before);
            return;
        }
        QVERIFY(As<DataSession>(opened));
        QTEST(int(As<DataSession>(opened)->Table().size()), "entries");
        QTEST(FolderNow(dir.path()).keys(), "after");
    }

    void legacyFileOutAndIn()
    {
        ProgramDir dir;
        Put(dir.path(), {{u"Cofferly.Enc"_s, Sealed(kA)}});
        auto opened = Open(dir.path(), Answers{.password = kPassword});
        DataSession& session = std::get<DataSession>(opened);
        const QString out = dir.path() + u"/out/legacy.dat"_s, in = dir.path() + u"/in.dat"_s;
        QDir(dir.path()).mkdir(u"out"_s);
        QVERIFY(!session.ExportLegacy(out));
        QCOMPARE(TestFiles::Read(out), kA);
        QVERIFY(SystemFiles::OwnerOnly(out));
        TestFiles::Write(in, kPlain);
        const auto imported = session.ImportLegacy(in);
        QCOMPARE(TestFiles::Read(As<DataSession::SaveReport>(imported)->ownVersion),
                 TestFiles::Read(dir.path() + u"/Cofferly.Enc.bak"_s));
        QCOMPARE(session.Table().size(), 5);
        TestFiles::Write(in, "not a data file");
        QCOMPARE(As<StoreError>(session.ImportLegacy(in))->cause, StoreError::Cause::Damaged);
        QCOMPARE(session.Table().size(), 5);
    }
};

QTEST_GUILESS_MAIN(TestEncryptedSession)
#include "tst_encrypted_session.moc"
