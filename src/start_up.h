#pragma once

#include "main_window/fm_cofferly.h"
#include "store/data_session.h"
#include "store/folder_guard.h"
#include "store/instance_lock.h"

#include <memory>
#include <optional>

class Desktop;

// The running program: the lock on its folder, the data session and the window showing it.
struct Program {
    std::optional<InstanceLock> lock;
    std::optional<DataSession> session;
    std::unique_ptr<Fm_Cofferly> window;
};

// Everything the program does at start once the application object exists, in order: the
// folder check, the lock, the leftovers of cut-off saves, the data session with the
// questions it leaves to the user, and the main window over it. Nothing when the program
// must end; the user has been told why, and nothing was written.
std::unique_ptr<Program> StartProgram(Desktop& desktop, const QString& programDirectory);
// The same, with the folder check made before the application object was built.
std::unique_ptr<Program> StartProgram(Desktop& desktop, const QString& programDirectory,
                                      const FolderCheck& check);

// Acts on the folder check of `folder`: where the only fault is that others may write the
// user's own folder, offers to make it private and, after はい, does so and checks again;
// a refusal is explained; a drive without access control is used after a warning. True
// when the start may go on.
bool AcceptFolder(Desktop& desktop, const QString& folder, FolderCheck check);

// Before anything is written in `folder`: when the folder is not safe for passwords, tells
// the user what to change and returns true; the program must then end.
bool RefuseUnsafeFolder(Desktop& desktop, const QString& folder);

// Once the lock is held: makes the program's files readable by the user only where others
// could read them, and tells the user which, in one message. False when that failed (the
// user has been told); the program must then end.
bool TightenFileModesAndTell(Desktop& desktop, const QString& folder);

// The data session's part of the start: opens it, asks its questions, reports a failure.
std::optional<DataSession> OpenSession(Desktop& desktop, const QString& programDirectory);
