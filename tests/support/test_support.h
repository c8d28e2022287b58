#pragma once

#include "platform/desktop.h"
#include "start_up.h"
#include "store/entry.h"

#include <QApplication>
#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>

// Stands in for the desktop: records beeps, message boxes, opened documents and the end
// of the program, and answers message boxes from a queue (questions default to the
// box's own default answer when the queue is empty), file dialogs from another (cancelled
// when it is empty).
class RecordingDesktop : public Desktop {
public:
    void Beep() override { ++beeps; }
    MessageRequest::Answer Show(QWidget* parent, const MessageRequest& message) override;
    void OpenDocument(const QString& target) override { opened << target; }
    void EndProgram(int code) override { endCodes << code; }
    FileChoice ChooseFile(QWidget*, const QString&, const QStringList& filters, bool) override
    {
        fileFilters << filters;
        if (files.empty())
            return {};
        const FileChoice choice = files.front();
        files.pop_front();
        return choice;
    }

    int beeps = 0;
    QList<MessageRequest> messages;
    QStringList opened;
    QList<int> endCodes;
    std::deque<MessageRequest::Answer> answers;
    std::deque<FileChoice> files;
    QList<QStringList> fileFilters;
};

// The main window over the data session that the start opens in `programDirectory`, asking
// and reporting through `desktop`; none when the start ended there. The folder check and
// the lock are left out, so that two windows can stand over one folder.
class OpenedWindow {
public:
    OpenedWindow(const QString& programDirectory, Desktop& desktop);
    explicit operator bool() const { return window != nullptr; }
    Fm_Cofferly& operator*() const { return *window; }
    Fm_Cofferly* operator->() const { return window.get(); }

    std::optional<DataSession> session;
    std::unique_ptr<Fm_Cofferly> window;
};

// The alternative of `v` of type T, or nullptr.
template <typename T, typename Variant> const T* As(const Variant& v)
{
    return std::get_if<T>(&v);
}

// The data session the start opens over `programDirectory` when nothing needs asking;
// none when it does not open that way.
std::optional<DataSession> OpenedSession(const QString& programDirectory);

// Acts once on a modal window of type Window from inside that window's own event loop, as
// soon as it is up and active; a test that opens one with exec() sets this up first. A
// modal window still open ten seconds on fails the test and is closed, so that a dialog
// nobody answers costs seconds, not the whole suite's time-out.
template <typename Window> class ActOnModal {
public:
    explicit ActOnModal(std::function<void(Window*)> act) : act_(std::move(act))
    {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && deadline_.hasExpired()) {
                QTest::qFail("a modal window was still open at the deadline", __FILE__, __LINE__);
                modal->close();
                return;
            }
            auto* window = qobject_cast<Window*>(modal);
            if (acted_ || !window || !window->isActiveWindow())
                return;
            acted_ = true;
            act_(window);
        });
        poll_.start(10);
    }
    bool Acted() const { return acted_; }

private:
    std::function<void(Window*)> act_;
    QTimer poll_;
    QDeadlineTimer deadline_{std::chrono::seconds(10)};
    bool acted_ = false;
};

// A program directory of its own for one test, removed afterwards; given bytes, it holds
// them as its data file, and `backup` as its backup unless that is empty.
class ProgramDir {
public:
    ProgramDir();
    explicit ProgramDir(const QByteArray& data, const QByteArray& backup = {});
    QString path() const { return dir_.path(); }
    QString dataPath() const;
    QString backupPath() const;
    void writeData(const QByteArray& bytes) const;
    QByteArray data() const;
    QByteArray backup() const;

private:
    QTemporaryDir dir_;
};

namespace TestFiles {
QByteArray Read(const QString& path);
void Write(const QString& path, const QByteArray& bytes);
// A data file with the given position and entries, each entry four texts (title, ID,
// PW, URL), written the way the program writes it. Texts are given in UTF-8.
QByteArray Make(int top, int left, const QList<QStringList>& entries);
// Entries as lists of their four texts (title, ID, PW, URL), and back.
QList<QStringList> AsLists(const Entries& entries);
Entries FromLists(const QList<QStringList>& entries);
// n ordinary entries "Title i", "id-i", "pw-i-x", "https://example.com/i".
QList<QStringList> NumberedEntries(int n);
// The same, as entries.
Entries Numbered(int n);
} // namespace TestFiles
