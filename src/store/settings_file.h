#pragma once

#include "folder_guard.h"
#include "settings.h"
#include "store_error.h"

#include <QString>
#include <optional>

// The settings file beside the data: INI in UTF-8, written only when the user changes a
// setting. Its keys and the values they take:
//   [Clipboard] ClearAfterSeconds  0 to kMaxClearAfterSeconds
//   [Window]    AllowScreenCapture true or false
//   [Security]  LockAfterMinutes   0 to kMaxLockAfterMinutes
namespace SettingsFile {

inline constexpr int kMaxClearAfterSeconds = 3600;
// A day: past that, an idle lock protects nothing a lock at the end would not.
inline constexpr int kMaxLockAfterMinutes = 1440;
// A settings file holds a few lines; anything larger is no settings file.
inline constexpr qint64 kMaxSize = qint64(64) << 10;

QString Path(const QString& programDirectory);

// The settings as the program directory's file gives them: the defaults for a file that is
// missing or is not a settings file (not UTF-8 text, larger than kMaxSize, not readable),
// and for each value that cannot be read or lies out of its range. Nothing is written.
Settings Read(const QString& programDirectory);

// Writes into the file the values of `settings` that differ from what it gives now, and
// keeps everything else in it as it stands (other sections and keys, comments, their
// order); writes nothing when none differs. The file is replaced as the data file is, in
// the folder `pin` noted at the start, and refused where a link stands that did not then.
// A file that is not a settings file is never written over: Cause::NotSettings. The data
// file is never touched.
std::optional<StoreError> Write(const QString& programDirectory, const FolderPin& pin,
                                const Settings& settings);

} // namespace SettingsFile
