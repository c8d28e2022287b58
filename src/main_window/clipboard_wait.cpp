#include "clipboard_wait.h"

void ClipboardWait::Copied(qint64 now)
{
    copied_ = true;
    due_.reset();
    if (delayMs_ > 0)
        due_ = now + delayMs_;
}

ClipboardWait::Action ClipboardWait::Tick(qint64 now, bool holdsOurs)
{
    if (!due_ || now < *due_)
        return Action::None;
    return Forget(holdsOurs);
}

ClipboardWait::Action ClipboardWait::ClearNow(bool holdsOurs)
{
    return Forget(holdsOurs);
}

ClipboardWait::Action ClipboardWait::AtEnd(bool holdsOurs)
{
    // LbClipBoard goes with the window.
    return Forget(holdsOurs) == Action::Clear ? Action::Clear : Action::None;
}

// Text copied since by the user or another program stays; only the window stops showing
// the secret.
ClipboardWait::Action ClipboardWait::Forget(bool holdsOurs)
{
    const bool copied = copied_;
    copied_ = false;
    due_.reset();
    if (!copied)
        return Action::None;
    return holdsOurs ? Action::Clear : Action::ForgetShown;
}
