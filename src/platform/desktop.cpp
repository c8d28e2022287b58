#include "desktop.h"

#include "resources/texts.h"
#include "url_opener.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>

void Desktop::Beep()
{
    QApplication::beep();
}

namespace {

// Swallows Esc and close requests, so that only a button ends the box.
class NeedsAnswer : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

MessageRequest::Answer Desktop::Show(QWidget* parent, const MessageRequest& message)
{
    using Answer = MessageRequest::Answer;
    NeedsAnswer needsAnswer;
    QMessageBox box(message.icon, message.title.isEmpty() ? appTitle_ : message.title, message.text,
                    QMessageBox::NoButton, parent);
    // Titles and paths are the user's own text, never markup.
    box.setTextFormat(Qt::PlainText);
    // The buttons read in Japanese whatever the system locale, like the rest of the program.
    auto add = [&box](const QString& text, QMessageBox::ButtonRole role) {
        return box.addButton(text, role);
    };
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    if (message.buttons != MessageRequest::Buttons::Ok) {
        yes = add(Texts::YesButton, QMessageBox::YesRole);
        no = add(Texts::NoButton, QMessageBox::NoRole);
        box.setDefaultButton(message.defaultAnswer == Answer::No ? no : yes);
    }
    if (message.buttons == MessageRequest::Buttons::YesNo) {
        // A question wants an answer: Esc and the close box would otherwise count as No,
        // which for "save the changes?" throws them away.
        box.installEventFilter(&needsAnswer);
    } else if (message.buttons == MessageRequest::Buttons::YesNoCancel) {
        // Here a way out exists that loses nothing, so Esc and the close box may take it.
        cancel = add(Texts::CancelButton, QMessageBox::RejectRole);
        if (message.defaultAnswer == Answer::Cancel)
            box.setDefaultButton(cancel);
        box.setEscapeButton(cancel);
    } else {
        ok = add(Texts::OkButton, QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no)
        return Answer::No;
    if (cancel)
        return Answer::Cancel;
    return Answer::Ok;
}

void Desktop::Tell(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    Tell(parent, text, icon, Texts::MessageTitle);
}

void Desktop::Tell(QWidget* parent, const QString& text, QMessageBox::Icon icon,
                   const QString& title)
{
    Show(parent, {text, title, MessageRequest::Buttons::Ok, MessageRequest::Answer::Ok, icon});
}

MessageRequest::Answer Desktop::Ask(QWidget* parent, const QString& text,
                                    MessageRequest::Answer byDefault)
{
    return Ask(parent, text, byDefault, Texts::MessageTitle);
}

MessageRequest::Answer Desktop::Ask(QWidget* parent, const QString& text,
                                    MessageRequest::Answer byDefault, const QString& title,
                                    QMessageBox::Icon icon)
{
    return Show(parent, {text, title, MessageRequest::Buttons::YesNo, byDefault, icon});
}

MessageRequest::Answer Desktop::AskOrCancel(QWidget* parent, const QString& text,
                                            MessageRequest::Answer byDefault, const QString& title,
                                            QMessageBox::Icon icon)
{
    return Show(parent, {text, title, MessageRequest::Buttons::YesNoCancel, byDefault, icon});
}

void Desktop::OpenDocument(const QString& target)
{
    StartOpener(QStringLiteral("xdg-open"), target, &reportsTo_,
                [this, target](const QString& reason) {
                    // The failure comes a moment later, when another window may be in front.
                    Tell(QApplication::activeWindow(), Texts::OpenFailed.arg(target, reason),
                         QMessageBox::Warning);
                });
}

void Desktop::OpenUrl(QWidget* parent, const QString& url)
{
    switch (HandlingOf(url)) {
    case UrlHandling::Refuse:
        Tell(parent, Texts::UrlStartsWithDash.arg(url), QMessageBox::Warning);
        return;
    case UrlHandling::AskFirst:
        // Enter alone must not open what the user did not mean to.
        if (Ask(parent, Texts::UrlQuestion.arg(url), MessageRequest::Answer::No,
                Texts::UrlQuestionTitle) != MessageRequest::Answer::Yes)
            return;
        break;
    case UrlHandling::OpenAtOnce:
        break;
    }
    OpenDocument(url);
}

void Desktop::EndProgram(int code)
{
    QCoreApplication::exit(code);
}

void Desktop::ShowHelp()
{
    for (const QString& file : helpFiles_) {
        if (QFileInfo::exists(file)) {
            // The system's own form: some handlers on Windows take "/" for an option.
            OpenDocument(QDir::toNativeSeparators(file));
            return;
        }
    }
}
