#include "test_support.h"

#include "store/cp932.h"

#include <QFile>
#include <QtTest>

MessageRequest::Answer RecordingDesktop::Show(QWidget*, const MessageRequest& message)
{
    messages << message;
    if (!answers.empty()) {
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return message.buttons == MessageRequest::Buttons::Ok ? MessageRequest::Answer::Ok
                                                          : message.defaultAnswer;
}

ProgramDir::ProgramDir()
{
    if (!dir_.isValid())
        qFatal("cannot create a temporary program directory");
}

ProgramDir::ProgramDir(const QByteArray& data, const QByteArray& backup) : ProgramDir()
{
    writeData(data);
    if (!backup.isEmpty())
        TestFiles::Write(backupPath(), backup);
}

QString ProgramDir::dataPath() const
{
    return dir_.filePath(QStringLiteral("Cofferly.Dat"));
}

QString ProgramDir::backupPath() const
{
    return dir_.filePath(QStringLiteral("Cofferly.bak"));
}

void ProgramDir::writeData(const QByteArray& bytes) const
{
    TestFiles::Write(dataPath(), bytes);
}

QByteArray ProgramDir::data() const
{
    return TestFiles::Read(dataPath());
}

QByteArray ProgramDir::backup() const
{
    return TestFiles::Read(backupPath());
}

namespace TestFiles {

QByteArray Read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write a test file");
}

QByteArray Make(int top, int left, const QList<QStringList>& entries)
{
    QByteArray out = QByteArray::number(top) + ',' + QByteArray::number(left) + "\r\n";
    for (const QStringList& entry : entries) {
        for (const QString& text : entry) {
            const auto bytes = Cp932::Encode(text);
            if (!bytes)
                qFatal("test text not in code page 932");
            out += '"' + *bytes + "\"\r\n";
        }
    }
    return out;
}

QList<QStringList> AsLists(const Entries& entries)
{
    QList<QStringList> lists;
    for (const Entry& e : entries)
        lists << QStringList{e.title, e.id, e.pw, e.url};
    return lists;
}

Entries FromLists(const QList<QStringList>& entries)
{
    Entries out;
    for (const QStringList& e : entries)
        out.append({e.value(0), e.value(1), e.value(2), e.value(3)});
    return out;
}

QList<QStringList> NumberedEntries(int n)
{
    QList<QStringList> entries;
    for (int i = 1; i <= n; ++i)
        entries << QStringList{QStringLiteral("Title %1").arg(i), QStringLiteral("id-%1").arg(i),
                               QStringLiteral("pw-%1-x").arg(i),
                               QStringLiteral("https://example.com/%1").arg(i)};
    return entries;
}

Entries Numbered(int n)
{
    return FromLists(NumberedEntries(n));
}

} // namespace TestFiles
