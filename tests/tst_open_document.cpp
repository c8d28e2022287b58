// The real desktop hand-over of an address: one unchanged argument to xdg-open, no shell.
#include "main_window/fm_cofferly.h"
#include "platform/desktop.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

// The real desktop, saying yes to every question.
class AgreeingDesktop : public Desktop {
public:
    MessageRequest::Answer Show(QWidget*, const MessageRequest& message) override
    {
        questions << message.text;
        return MessageRequest::Answer::Yes;
    }
    QStringList questions;
};

class TestOpenDocument : public QObject {
    Q_OBJECT
private:
    QTemporaryDir bin_;
    QTemporaryDir out_;
    QByteArray oldPath_;

    QString Out(const QString& name) const { return out_.filePath(name); }

    // The command line of the process that started the stand-in: a shell running the
    // target as part of a command line would show it there.
    QString Parent() const { return QString::fromUtf8(TestFiles::Read(Out(u"parent"_s))); }

    // What the stand-in xdg-open received, once it has finished.
    QStringList Received() const
    {
        const QByteArray count = TestFiles::Read(Out(u"count"_s));
        QStringList args;
        for (int i = 1; i <= count.toInt(); ++i)
            args << QString::fromUtf8(TestFiles::Read(Out(u"arg%1"_s.arg(i))));
        return args;
    }

    void ClearOut()
    {
        QDir dir(out_.path());
        for (const QString& name : dir.entryList(QDir::Files))
            dir.remove(name);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(bin_.isValid() && out_.isValid());
        // Writes each argument to a file of its own and its parent's command line; the count
        // comes last, when all is there.
        const QByteArray script = "#!/bin/sh\n"
                                  "out='" +
                                  out_.path().toUtf8() +
                                  "'\n"
                                  "i=0\n"
                                  "for a in \"$@\"; do\n"
                                  "  i=$((i+1))\n"
                                  "  printf '%s' \"$a\" > \"$out/arg$i\"\n"
                                  "done\n"
                                  "tr '\\000' ' ' < /proc/$PPID/cmdline > \"$out/parent\"\n"
                                  "printf '%s' \"$#\" > \"$out/count.part\"\n"
                                  "mv \"$out/count.part\" \"$out/count\"\n";
        const QString path = bin_.filePath(u"xdg-open"_s);
        TestFiles::Write(path, script);
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        oldPath_ = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin_.path()) + ':' + oldPath_);
    }

    void cleanupTestCase() { qputenv("PATH", oldPath_); }

    void init() { ClearOut(); }

    void oneUnchangedArgumentAndNoShell_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("mustNotExist");
        const QString x = Out(u"X"_s);
        QTest::newRow("semicolon") << u"a;touch "_s + x << x;
        QTest::newRow("command substitution") << u"$(touch "_s + x + u')' << x;
        QTest::newRow("backquotes") << u"`touch "_s + x + u'`' << x;
        QTest::newRow("and-and") << u"https://e.example && touch "_s + x << x;
        QTest::newRow("pipe") << u"x | touch "_s + x << x;
        QTest::newRow("quotes") << u"\"a b\" 'c'\\ d; touch "_s + x << x;
        QTest::newRow("spaces and no scheme") << u"  example.com/a b  "_s << QString();
        QTest::newRow("Japanese") << u"https://例え.jp/パス?q=ｺﾌｧﾘｰ"_s << QString();
    }

    void oneUnchangedArgumentAndNoShell()
    {
        QFETCH(QString, target);
        QFETCH(QString, mustNotExist);
        Desktop desktop;
        desktop.OpenDocument(target);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(Out(u"count"_s)), 20000);
        QCOMPARE(Received(), QStringList{target});
        // A shell would run a substitution before xdg-open, and the rest of the line after
        // it, as xdg-open's parent.
        if (!mustNotExist.isEmpty())
            QVERIFY(!QFileInfo::exists(mustNotExist));
        QVERIFY(!Parent().isEmpty());
        QVERIFY2(!Parent().contains(target.trimmed()), qPrintable(Parent()));
    }

    // The window's URL button hands over the shown text through the same call, once the
    // user has agreed to open what is not a web address.
    void urlButtonUsesTheDesktop()
    {
        ProgramDir dir;
        const QString x = Out(u"Y"_s);
        const QString url = u"$(touch "_s + x + u");touch "_s + x;
        dir.writeData(TestFiles::Make(1500, 3000, {{u"T"_s, u"id"_s, {}, url}}));
        AgreeingDesktop desktop;
        OpenedWindow opened(dir.path(), desktop);
        Fm_Cofferly& w = *opened;
        QCOMPARE(w.Controls().Lb_data[2]->text(), url);
        QTest::mouseClick(w.Controls().CmdURL, Qt::LeftButton);
        QCOMPARE(desktop.questions.size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(Out(u"count"_s)), 20000);
        QCOMPARE(Received(), QStringList{url});
        QVERIFY(!QFileInfo::exists(x));
        QVERIFY2(!Parent().contains(url), qPrintable(Parent()));
    }
};

QTEST_MAIN(TestOpenDocument)
#include "tst_open_document.moc"
