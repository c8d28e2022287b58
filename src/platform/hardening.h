#pragma once

// The process holds every password in plain text. Called first thing in main(), before
// anything creates a file or loads a library: what it creates is for its owner alone,
// no crash leaves a dump of its memory behind, and no other process of the same user can
// read that memory. On Windows, libraries load from the system folder only, never from the
// program's own folder, where the data file lives too.
void HardenProcess();

// POSIX only. For a child process between fork and exec: gives back the file-creation
// mask the program was started with, so that a program it starts (a browser, a mail
// program) creates its files as the user expects. Makes async-signal-safe calls only.
void RestoreChildFileMask();
