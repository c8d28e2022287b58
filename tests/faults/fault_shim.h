#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Makes file operations fail on purpose. The library defines the C library's file calls
// itself and passes them on; a program linked with it (ahead of the C library) has every
// such call, Qt's included, go through here first.
//
// Only calls on paths under the watched directory, and on descriptors opened there, are
// counted or failed; everything else passes untouched.
namespace FaultShim {

// Starts watching `directory` with no fault armed and all counters at zero. Watched
// reads return at most 64 bytes at a time, as a slow device may, so that a failing read
// can strike in the middle of a file.
void Watch(const std::string& directory);
// Stops watching: every call passes again.
void Stop();

// Writes succeed for `bytes` bytes in all, counted across every watched descriptor; the
// write that crosses the budget writes what still fits, later ones fail with ENOSPC.
void FailAfterBytes(long long bytes);

// The `n`-th watched operation (1-based) fails; may be called for several. Failing
// operations return EIO, or ENOSPC for writes; a failing close still releases its
// descriptor.
void FailOperation(int n);
// The `n`-th watched operation and every later one fail, as on a disk gone bad.
void FailFrom(int n);

// Runs `action` once, just before the next watched sync: something another program does
// while a save has written its data and not yet renamed it.
void BeforeNextSync(std::function<void()> action);

// Watched operations seen since Watch(), failed ones included.
int Operations();
// Watched operations that were made to fail.
int Failures();
// Links and renames that put a file in place while data written to it had not been synced
// to disk (never synced, or its last sync failed).
int UnsyncedLinks();
// Every file created under the watched directory since Watch(), with the mode its creating
// call gave.
std::vector<std::pair<std::string, unsigned>> Created();
// One line per watched operation: "name path-or-descriptor".
std::string Log();

} // namespace FaultShim
