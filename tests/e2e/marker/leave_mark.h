#pragma once

// Plugins that leave a mark when loaded: each appends its kind to the file named by
// COFFERLY_PLUGIN_MARK. Put in a refused folder, they must never be loaded.
#include <cstdio>
#include <cstdlib>

#define COFFERLY_LEAVE_MARK(kind)                                                                  \
    __attribute__((constructor)) static void LeaveMark()                                           \
    {                                                                                              \
        if (const char* path = std::getenv("COFFERLY_PLUGIN_MARK"))                                \
            if (FILE* file = std::fopen(path, "a")) {                                              \
                std::fputs(kind "\n", file);                                                       \
                std::fclose(file);                                                                 \
            }                                                                                      \
    }
