#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>

class QWidget;

// A file the user picked: its path, empty when the dialog was cancelled, and which of the
// dialog's filters was chosen (0-based).
struct FileChoice {
    QString path;
    int filter = 0;
};

// A message box as the program asks for it. An empty title shows the application title.
struct MessageRequest {
    // YesNoCancel: Esc and the close box answer Cancel, which keeps things as they were.
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    QString text;
    QString title;
    Buttons buttons = Buttons::Ok;
    Answer defaultAnswer = Answer::Ok;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// The desktop services the windows use: beep, message boxes, the default handler for
// addresses and documents, and ending the program. Tests put a recording double in its
// place; the program uses this class as it is.
class Desktop {
public:
    virtual ~Desktop() = default;

    virtual void Beep();
    virtual MessageRequest::Answer Show(QWidget* parent, const MessageRequest& message);
    // The boxes the program shows, all through Show, titled "Cofferly" unless a title is
    // given (an empty one shows the application title). Tell has OK alone. Ask has はい and
    // いいえ and wants one of them; AskOrCancel adds キャンセル, which Esc and the close box
    // answer too.
    void Tell(QWidget* parent, const QString& text, QMessageBox::Icon icon);
    void Tell(QWidget* parent, const QString& text, QMessageBox::Icon icon, const QString& title);
    MessageRequest::Answer Ask(QWidget* parent, const QString& text,
                               MessageRequest::Answer byDefault);
    MessageRequest::Answer Ask(QWidget* parent, const QString& text,
                               MessageRequest::Answer byDefault, const QString& title,
                               QMessageBox::Icon icon = QMessageBox::Question);
    MessageRequest::Answer AskOrCancel(QWidget* parent, const QString& text,
                                       MessageRequest::Answer byDefault, const QString& title,
                                       QMessageBox::Icon icon);
    // Hands `target` unchanged, as one argument, to the desktop's default handler; no shell
    // sees it. Returns at once; a handler that fails is reported in a message box later.
    virtual void OpenDocument(const QString& target);
    // Opens a related URL the user typed: one starting with "-" is refused, one that is not
    // a web or mail address is opened only if the user says so (parent owns both boxes).
    void OpenUrl(QWidget* parent, const QString& url);
    // The desktop's file dialog over the user's home folder, with `filters` to choose from:
    // `save` picks a file to write (asking before one is replaced), else one to read.
    virtual FileChoice ChooseFile(QWidget* parent, const QString& title, const QStringList& filters,
                                  bool save);
    // Ends the event loop with `code`; the caller has already made sure nothing is saved.
    virtual void EndProgram(int code);

    void SetAppTitle(const QString& title) { appTitle_ = title; }
    const QString& AppTitle() const { return appTitle_; }
    // The help files in the order they are preferred; the first that exists is opened.
    void SetHelpFiles(const QStringList& paths) { helpFiles_ = paths; }
    // Opens the help file, if there is one.
    void ShowHelp();

private:
    QString appTitle_;
    QStringList helpFiles_;
    // Handlers still running report only to a desktop that still exists.
    QObject reportsTo_;
};
