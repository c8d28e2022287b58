#pragma once

#include "store/store_error.h"

// The usual reasons a file operation fails that the user can mend, told apart from the
// system's own error (which only the system names in its own words).
enum class SystemTrouble { Other, ReadOnly, AccessDenied, DiskFull, PathTooLong, InUse };

// Which of them `error` (of Cause::System) is; per system: system_trouble_unix.cpp, _win.cpp.
SystemTrouble TroubleOf(const StoreError& error);

// Whether `reason` is, or holds, the system's text for one of `codes`.
template <typename Codes> bool ReasonIsOneOf(const QString& reason, const Codes& codes)
{
    for (const int code : codes) {
        const QString text = qt_error_string(code);
        if (!text.isEmpty() && reason.contains(text))
            return true;
    }
    return false;
}
