#pragma once

#include "entry.h"

#include <QByteArray>
#include <optional>

// What one save does, decided from what the session holds and what the disk holds now,
// before anything is touched. The session carries it out.
struct SavePlan {
    enum class Kind {
        // The files the flags name take their new contents (none, when the disk holds them
        // already); then the session holds the new entries.
        Write,
        // Another program's version is on disk: it is kept under a name of its own first,
        // then as Write.
        KeepOthersFirst,
        // Another program's version is on disk and no entry changed: it stays, nothing is
        // written, and the session's own last save, no longer on disk, is kept under a name
        // of its own. The session stays as it was.
        KeepOwnVersion,
        // As KeepOwnVersion, but the session's last bytes were read, not written by it:
        // there is nothing of its own to keep.
        LeaveAlone,
    };
    Kind kind = Kind::Write;
    bool backup = false; // the backup takes the bytes the session last read or wrote
    bool data = false;   // the data file takes the new bytes

    // Whether the session holds the new entries once the plan is carried out.
    bool TakesNewEntries() const { return kind == Kind::Write || kind == Kind::KeepOthersFirst; }

    friend bool operator==(const SavePlan&, const SavePlan&) = default;
};

// What the session holds between saves.
struct HeldData {
    const Entries& entries;
    const QByteArray& bytes; // the data file's bytes as last read or written
    bool ownSave;            // `bytes` were written by this session
};

// The plan for saving `entries` as `newBytes`, with `onDisk` the data file as it is now
// (nullopt: missing). The backup follows a change of entries, never of the position alone,
// and another program's version is never replaced without being kept.
SavePlan PlanSave(const HeldData& held, const std::optional<QByteArray>& onDisk,
                  const Entries& entries, const QByteArray& newBytes);
