#pragma once

// The process holds every password in plain text. Called first thing in main(), before
// anything creates a file: what it creates is for its owner alone, and neither a core
// dump nor another process of the same user can read its memory.
void HardenProcess();

// For a child process between fork and exec: gives back the file-creation mask the
// program was started with, so that a program it starts (a browser, a mail program)
// creates its files as the user expects. Makes async-signal-safe calls only.
void RestoreChildFileMask();
