// Keeping secrets in: what the window puts on the clipboard is cleared a while after the
// last copy, when the user asks and when the program ends, as long as the clipboard still
// holds it; the window stays out of screen captures unless the user allows them.
#include "fm_cofferly.h"
#include "platform/clipboard.h"
#include "platform/screen_capture.h"

Fm_Cofferly::~Fm_Cofferly()
{
    // Every end passes here while the application object still lives, before Qt hands the
    // clipboard to a clipboard manager or Windows flushes it at exit.
    Act(clipboardWait_.AtEnd(Clipboard::HoldsOurs()));
}

void Fm_Cofferly::ApplySettings(const Settings& settings)
{
    settings_ = settings;
    clipboardWait_.SetDelay(settings.clearAfterSeconds);
    WatchForIdle();
    if (isVisible())
        ScreenCapture::Set(this, settings_.allowScreenCapture);
}

void Fm_Cofferly::showEvent(QShowEvent* event)
{
    // Once the window is shown, so that its native window is made where it belongs.
    ScreenCapture::Set(this, settings_.allowScreenCapture);
    QWidget::showEvent(event);
}

void Fm_Cofferly::PutOnClipboard(const QString& text)
{
    Clipboard::Put(text);
    LbClipBoard->setText(text);
    if (!clock_.isValid())
        clock_.start();
    // Each piece of a run starts the wait again.
    clipboardWait_.Copied(clock_.elapsed());
    WaitForClipboard();
}

void Fm_Cofferly::WaitForClipboard()
{
    const auto due = clipboardWait_.Due();
    if (!due) {
        clipboardTimer_.stop();
        return;
    }
    clipboardTimer_.start(int(qMax<qint64>(0, *due - clock_.elapsed())));
}

void Fm_Cofferly::ClipboardWaitOver()
{
    Act(clipboardWait_.Tick(clock_.elapsed(), Clipboard::HoldsOurs()));
    // A timer that fired early waits for the rest.
    WaitForClipboard();
}

void Fm_Cofferly::Act(ClipboardWait::Action action)
{
    if (action == ClipboardWait::Action::None)
        return;
    if (action == ClipboardWait::Action::Clear)
        Clipboard::Clear();
    LbClipBoard->clear();
}
