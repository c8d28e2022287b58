#pragma once

// Who may do what to a file or a folder on Windows, as its access list says.

#include <QString>

#include <qt_windows.h>

// What an access list lets anyone but the user running the program, SYSTEM and
// Administrators do: a named user, a group of any kind (Everyone, Users, Guests,
// INTERACTIVE, a domain's users). An object with no list at all lets everyone do
// everything. Entries that deny are not taken off: a list that relies on one to keep others
// out counts as letting them in. An owner who is someone else may rewrite the list at will.
struct OthersMay {
    bool read = false;           // read a file, or list a folder
    bool change = false;         // write, add, remove or rename, or rewrite the list
    bool replaceWithin = false;  // remove or rename what a folder holds, or rewrite the list
    bool owner = false;          // the owner is someone else
    DWORD error = ERROR_SUCCESS; // the object's list could not be read
};
OthersMay WhatOthersMay(const ACL* acl, const void* owner = nullptr);
OthersMay WhatOthersMay(const QString& path);

// Whether the drive that holds `path` keeps access lists at all: FAT and exFAT keep none.
bool KeepsAccessLists(const QString& path);

// Leaves the object to the user running the program alone: its list becomes one entry, full
// control for that user, no longer inherited from the folder. 0 or the system's error code.
DWORD MakePrivate(HANDLE object);
DWORD MakePrivate(const QString& path);

// Leaves a folder to the user, SYSTEM and Administrators, each with full control handed
// down to what it holds, and no longer inherited. 0 or the system's error code.
DWORD GiveFolderPrivateList(const QString& path);
