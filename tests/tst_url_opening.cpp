// Opening a related URL: which addresses open at once, which are asked for and which are
// refused; and the opener process itself, run through a stand-in xdg-open first on PATH.
#include "platform/desktop.h"
#include "platform/hardening.h"
#include "platform/url_opener.h"
#include "resources/texts.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using Answer = MessageRequest::Answer;

namespace {

// What becomes of an address: it opens at once, it is asked for, or it is refused.
enum class Reach { Opens, Asked, Refused };

// The real desktop and its real opener, with message boxes recorded and answered Yes.
class RecordingBoxes : public Desktop {
public:
    Answer Show(QWidget*, const MessageRequest& message) override
    {
        messages << message;
        return message.buttons == MessageRequest::Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    QList<MessageRequest> messages;
};

// Everything this process writes to its standard error while it lives.
class CapturedStderr {
public:
    explicit CapturedStderr(const QString& path) : path_(path)
    {
        std::fflush(stderr);
        saved_ = ::dup(2);
        const int fd =
            ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, 2);
        ::close(fd);
    }
    ~CapturedStderr()
    {
        std::fflush(stderr);
        ::dup2(saved_, 2);
        ::close(saved_);
    }
    QByteArray Text() const { return TestFiles::Read(path_); }

private:
    QString path_;
    int saved_ = -1;
};

// What the stand-in does is chosen by the file "mode" in its output folder: "ok" records
// its arguments and its file-creation mask, "exit N" fails with N, "kill" kills itself,
// "wait N" waits for the file "go" and then fails with N. It writes to both of its
// standard outputs in every mode.
const QByteArray kStandIn = R"(#!/bin/sh
out="$(dirname "$0")/../out"
echo "stand-in stdout marker"
echo "stand-in stderr marker: no handler for $1" >&2
i=0
for a in "$@"; do
  i=$((i+1))
  printf '%s' "$a" > "$out/arg$i"
done
umask > "$out/umask"
printf '%s' "$#" > "$out/count"
set -- $(cat "$out/mode")
case "$1" in
  ok) exit 0 ;;
  exit) exit "$2" ;;
  kill) kill -9 $$ ;;
  wait)
    : > "$out/waiting"
    while [ ! -e "$out/go" ]; do sleep 0.05; done
    exit "$2" ;;
esac
)";

} // namespace

class TestUrlOpening : public QObject {
    Q_OBJECT
private:
    QTemporaryDir root_;
    QByteArray oldPath_;

    QString Out(const QString& name) const { return root_.filePath(u"out/"_s + name); }
    void SetMode(const QByteArray& mode) const { TestFiles::Write(Out(u"mode"_s), mode); }

    // Starts the stand-in on `target`, collecting what it reports.
    QPointer<QProcess> Start(const QString& target, QStringList& reports, QObject* context)
    {
        return StartOpener(u"xdg-open"_s, target, context,
                           [&reports](const QString& reason) { reports << reason; });
    }

    static QString OutputSection(const QString& url)
    {
        return Texts::OpenerOutput.arg(u"xdg-open"_s,
                                       u"stand-in stdout marker\nstand-in stderr marker: "
                                       "no handler for "_s +
                                           url);
    }

private slots:
    void initTestCase()
    {
        // Started as from a usual session; the opener must hand this mask back to its child.
        ::umask(022);
        HardenProcess();
        QVERIFY(root_.isValid());
        QVERIFY(QDir(root_.path()).mkpath(u"bin"_s) && QDir(root_.path()).mkpath(u"out"_s));
        const QString standIn = root_.filePath(u"bin/xdg-open"_s);
        TestFiles::Write(standIn, kStandIn);
        QVERIFY(
            QFile::setPermissions(standIn, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        oldPath_ = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(root_.filePath(u"bin"_s)) + ':' + oldPath_);
    }

    void cleanupTestCase() { qputenv("PATH", oldPath_); }

    void init()
    {
        QDir out(Out({}));
        for (const QString& name : out.entryList(QDir::Files))
            out.remove(name);
    }

    // --- which addresses open at once, which are asked for, which are refused ----------

    // Web and mail addresses open at once; anything else is asked for, the question saying
    // No by default; a leading dash, which the opener would take for an option, is refused.
    void eachAddressOpensIsAskedForOrIsRefused_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<Reach>("reach");
        const struct {
            const char* name;
            QString url;
            Reach reach;
        } rows[] = {
            {"http", u"http://example.com/"_s, Reach::Opens},
            {"https with query", u"https://example.com/a?b=1&c=2#d"_s, Reach::Opens},
            {"upper case", u"HTTPS://EXAMPLE.COM"_s, Reach::Opens},
            {"ftp", u"ftp://files.example.com/pub"_s, Reach::Opens},
            {"mailto", u"mailto:someone@example.com?subject=a b"_s, Reach::Opens},
            {"mixed case mailto", u"MailTo:someone@example.com"_s, Reach::Opens},
            {"Japanese host", u"https://例え.jp/パス"_s, Reach::Opens},
            {"file", u"file:///etc/passwd"_s, Reach::Asked},
            {"javascript", u"javascript:alert(1)"_s, Reach::Asked},
            {"no scheme", u"www.example.com"_s, Reach::Asked},
            {"path", u"/usr/bin/xterm"_s, Reach::Asked},
            {"leading space", u" https://example.com"_s, Reach::Asked},
            {"space then dash", u" -x"_s, Reach::Asked},
            {"other scheme", u"smb://host/share"_s, Reach::Asked},
            {"longer scheme", u"httpx://example.com"_s, Reach::Asked},
            {"secure ftp", u"sftp://host"_s, Reach::Asked},
            {"no colon", u"https//example.com"_s, Reach::Asked},
            {"colon first", u":https://example.com"_s, Reach::Asked},
            {"digit first", u"1http://example.com"_s, Reach::Asked},
            {"full-width letters", u"ｈｔｔｐ://example.com"_s, Reach::Asked},
            {"shell text", u"$(touch x); `id`"_s, Reach::Asked},
            {"dash alone", u"-"_s, Reach::Refused},
            {"option", u"--help"_s, Reach::Refused},
            {"short option", u"-x"_s, Reach::Refused},
            {"before a web address", u"-https://example.com"_s, Reach::Refused},
        };
        for (const auto& row : rows)
            QTest::newRow(row.name) << row.url << row.reach;
    }

    void eachAddressOpensIsAskedForOrIsRefused()
    {
        QFETCH(QString, url);
        QFETCH(Reach, reach);
        // Only an address asked for and answered Yes opens after a message.
        for (const Answer answer : {Answer::No, Answer::Yes}) {
            RecordingDesktop desktop;
            desktop.answers.push_back(answer);
            desktop.OpenUrl(nullptr, url);
            const bool opens =
                reach == Reach::Opens || (reach == Reach::Asked && answer == Answer::Yes);
            QCOMPARE(desktop.opened, opens ? QStringList{url} : QStringList{});
            QCOMPARE(desktop.messages.size(), reach == Reach::Opens ? 0 : 1);
            if (reach == Reach::Opens)
                continue;
            const MessageRequest& m = desktop.messages.front();
            const bool asked = reach == Reach::Asked;
            QCOMPARE(m.text,
                     asked ? Texts::UrlQuestion.arg(url) : Texts::UrlStartsWithDash.arg(url));
            QCOMPARE(m.title, asked ? Texts::UrlQuestionTitle : Texts::MessageTitle);
            QCOMPARE(m.buttons,
                     asked ? MessageRequest::Buttons::YesNo : MessageRequest::Buttons::Ok);
            if (asked)
                QCOMPARE(m.defaultAnswer, Answer::No);
        }
    }

    // --- the opener process -------------------------------------------------------------

    // In every outcome the stand-in gets one unchanged argument and the user's file-creation
    // mask back while ours stays 077, and its output is kept from our standard error.
    // Success reports nothing; a failure reports its reason with the output.
    void theOpenerReportsOnlyItsFailures_data()
    {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("reason"); // none for a success
        const QString url = u"nothing://here"_s;
        QTest::newRow("success") << QByteArray("ok") << u"https://example.com/a b;c"_s << QString();
        QTest::newRow("bad arguments") << QByteArray("exit 1") << url << Texts::OpenerBadArguments;
        QTest::newRow("no such file") << QByteArray("exit 2") << url << Texts::OpenerNoSuchFile;
        QTest::newRow("no program") << QByteArray("exit 3") << url << Texts::OpenerNoProgram;
        QTest::newRow("action failed") << QByteArray("exit 4") << url << Texts::OpenerActionFailed;
        QTest::newRow("other code") << QByteArray("exit 9") << url << Texts::OpenerExitCode.arg(9);
        QTest::newRow("killed") << QByteArray("kill") << url
                                << Texts::OpenerCrashed.arg(u"xdg-open"_s);
    }

    void theOpenerReportsOnlyItsFailures()
    {
        QFETCH(QByteArray, mode);
        QFETCH(QString, url);
        QFETCH(QString, reason);
        SetMode(mode);
        QStringList reports;
        QObject context;
        QByteArray ourStderr;
        {
            CapturedStderr captured(Out(u"stderr"_s));
            QPointer<QProcess> process = Start(url, reports, &context);
            QTRY_VERIFY_WITH_TIMEOUT(process.isNull(), 20000);
            ourStderr = captured.Text();
        }
        QCOMPARE(TestFiles::Read(Out(u"count"_s)), QByteArray("1"));
        QCOMPARE(QString::fromUtf8(TestFiles::Read(Out(u"arg1"_s))), url);
        QCOMPARE(TestFiles::Read(Out(u"umask"_s)).trimmed(), QByteArray("0022"));
        QVERIFY2(!ourStderr.contains("marker"), ourStderr.constData());
        QCOMPARE(reports, reason.isEmpty() ? QStringList()
                                           : QStringList{reason + u"\n\n"_s + OutputSection(url)});
        const mode_t ours = ::umask(077);
        QCOMPARE(ours, mode_t(077));
    }

    void anOpenerThatCannotStartIsReported()
    {
        QStringList reports;
        QObject context;
        const QString missing = root_.filePath(u"bin/no-such-opener"_s);
        QPointer<QProcess> process =
            StartOpener(missing, u"https://example.com"_s, &context,
                        [&reports](const QString& reason) { reports << reason; });
        QTRY_VERIFY_WITH_TIMEOUT(process.isNull(), 20000);
        QCOMPARE(reports.size(), 1);
        QVERIFY2(
            reports.front().startsWith(Texts::OpenerNotStarted.arg(missing, QString()).chopped(1)),
            qPrintable(reports.front()));
    }

    // The window goes on while the opener runs; its failure comes when it ends.
    void theOpenerDoesNotHoldTheWindowUp()
    {
        SetMode("wait 4");
        const QString url = u"https://example.com/slow"_s;
        RecordingBoxes desktop;
        desktop.OpenUrl(nullptr, url);
        // Back here while the stand-in still waits for its go.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(Out(u"waiting"_s)), 20000);
        QVERIFY(desktop.messages.isEmpty());
        TestFiles::Write(Out(u"go"_s), {});
        QTRY_COMPARE_WITH_TIMEOUT(desktop.messages.size(), 1, 20000);
        const MessageRequest& failure = desktop.messages.front();
        QCOMPARE(failure.text, Texts::OpenFailed.arg(url, Texts::OpenerActionFailed + u"\n\n"_s +
                                                              OutputSection(url)));
        QCOMPARE(failure.title, Texts::MessageTitle);
        QCOMPARE(failure.buttons, MessageRequest::Buttons::Ok);
        QCOMPARE(failure.icon, QMessageBox::Warning);
    }

    // A desktop that is gone is not reported to, and the process still cleans up after
    // itself.
    void aGoneContextIsNotReportedTo()
    {
        SetMode("wait 4");
        QStringList reports;
        QPointer<QProcess> process;
        {
            QObject context;
            process = Start(u"https://example.com"_s, reports, &context);
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(Out(u"waiting"_s)), 20000);
        }
        TestFiles::Write(Out(u"go"_s), {});
        QTRY_VERIFY_WITH_TIMEOUT(process.isNull(), 20000);
        QVERIFY(reports.isEmpty());
    }
};

QTEST_MAIN(TestUrlOpening)
#include "tst_url_opening.moc"
