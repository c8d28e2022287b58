#pragma once

// Who may do what to a file or a folder on Windows, as its access list says.

#include <QString>

#include <qt_windows.h>

// What an access list lets Everyone, Users and Authenticated Users do. An object with no
// list at all lets everyone do everything. Entries that deny are not taken off: a list
// that relies on one to keep others out counts as letting them in.
struct OthersMay {
    bool read = false;           // read a file, or list a folder
    bool change = false;         // write, add, remove or rename, or rewrite the list
    bool replaceWithin = false;  // remove or rename what a folder holds, or rewrite the list
    DWORD error = ERROR_SUCCESS; // the object's list could not be read
};
OthersMay WhatOthersMay(const ACL* acl);
OthersMay WhatOthersMay(const QString& path);

// Leaves the object to the user running the program alone: its list becomes one entry, full
// control for that user, no longer inherited from the folder. 0 or the system's error code.
DWORD MakePrivate(HANDLE object);
DWORD MakePrivate(const QString& path);
