#pragma once

#include "store/settings.h"

#include <QtGlobal>
#include <optional>

// When the window empties the clipboard of what it put there. Times are milliseconds of a
// steady clock that the owner reads and hands in: the rule itself never reads a clock.
// Whether the clipboard still holds the program's text is asked of the clipboard each time.
class ClipboardWait {
public:
    enum class Action {
        None,
        ForgetShown, // LbClipBoard forgets; the clipboard holds someone else's text
        Clear,       // the clipboard is cleared, and LbClipBoard with it
    };

    // `seconds` after the last copy, 0 for never. It counts from the next copy on.
    void SetDelay(int seconds) { delayMs_ = qint64(seconds) * 1000; }
    // The program put a text on the clipboard at `now`: the wait starts again.
    void Copied(qint64 now);
    // When the wait is over; nothing while nothing waits.
    std::optional<qint64> Due() const { return due_; }
    // At `now`, once the wait is over: clear if the clipboard still holds ours.
    Action Tick(qint64 now, bool holdsOurs);
    // The user asked for the clipboard to be cleared.
    Action ClearNow(bool holdsOurs);
    // The program ends, however it ends: nothing of ours may be left behind.
    Action AtEnd(bool holdsOurs);

private:
    Action Forget(bool holdsOurs);

    qint64 delayMs_ = qint64(Settings{}.clearAfterSeconds) * 1000;
    // Something was put there and not yet cleared or forgotten.
    bool copied_ = false;
    std::optional<qint64> due_;
};
