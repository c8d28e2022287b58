#pragma once

#include "folder_guard.h"

#include <QString>

// Where the running program lies, as the system names it. On Linux the name is taken as
// bytes: one that does not come back unchanged from decoding would lead the program to
// another folder of a name that looks the same.
struct ProgramFile {
    QString path;          // the program file
    QString folder;        // the folder that holds it, the data's folder
    bool nameShown = true; // the folder's name reads back as the same bytes
};
ProgramFile LocateProgram();

// Everything that can be checked before any code but the program's own has run: the
// folder's name, the program file, then the data folder (CheckDataFolder).
FolderCheck CheckProgram(const ProgramFile& program);
