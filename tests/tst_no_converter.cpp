// A system without a code page 932 converter (glibc's gconv modules missing). The suite
// stands in for the C library's iconv_open and refuses that one conversion; nothing can
// then be read or written, and every refusal names the missing converter, never the data.
#include "store/cp932.h"
#include "store/data_folder.h"
#include "store/data_session.h"
#include "support/test_support.h"

#include <QDir>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <iconv.h>
#include <strings.h>

extern "C" iconv_t iconv_open(const char* to, const char* from)
{
    if (::strcasecmp(to, "CP932") == 0 || ::strcasecmp(from, "CP932") == 0) {
        errno = EINVAL;
        return reinterpret_cast<iconv_t>(-1);
    }
    using Open = iconv_t (*)(const char*, const char*);
    static const auto next = reinterpret_cast<Open>(::dlsym(RTLD_NEXT, "iconv_open"));
    return next(to, from);
}

using namespace Qt::Literals::StringLiterals;
using Cause = StoreError::Cause;

class TestNoConverter : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(!Cp932::Available()); }

    void plainAsciiIsNotTakenForDamage()
    {
        const QByteArray file("0,0\r\n\"t\"\r\n\"i\"\r\n\"p\"\r\n\"a\"\r\n");
        const auto parsed = DataFile::Parse(file);
        const auto* bad = std::get_if<DataFile::ParseError>(&parsed);
        QVERIFY(bad);
        QCOMPARE(bad->problem, DataFile::ParseError::Problem::NoConverter);
        QVERIFY(!DataFile::Format({0, 0}, {Entry{u"t"_s, {}, {}, {}}}));
        QVERIFY(!DataFile::DefaultFile({0, 0}, u"g"_s));
    }

    void filesAreNeitherReadNorWritten()
    {
        ProgramDir dir;
        const QByteArray file("0,0\r\n\"t\"\r\n\"i\"\r\n\"p\"\r\n\"a\"\r\n");
        dir.writeData(file);
        const auto loaded = ReadStoredData(dir.path());
        QVERIFY(std::holds_alternative<StoreError>(loaded));
        QCOMPARE(std::get<StoreError>(loaded).cause, Cause::NoConverter);

        // No session opens, so nothing can be saved either.
        const auto opened = DataSession::Open(dir.path(), {0, 0}, u"g"_s, {});
        QVERIFY(std::holds_alternative<StoreError>(opened));
        QCOMPARE(std::get<StoreError>(opened).cause, Cause::NoConverter);
        QCOMPARE(dir.data(), file);

        TestFiles::Write(dir.backupPath(), file);
        QVERIFY(QFile::remove(dir.dataPath()));
        const auto restored = RestoreBackup(dir.path());
        QVERIFY(restored);
        QCOMPARE(restored->cause, Cause::NoConverter);
        QVERIFY(QFile::remove(dir.backupPath()));

        const auto created = CreateDefaultFile(dir.path(), {0, 0}, u"g"_s);
        QVERIFY(created);
        QCOMPARE(created->cause, Cause::NoConverter);
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestNoConverter)
#include "tst_no_converter.moc"
