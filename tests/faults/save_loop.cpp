// Saves the way the program does, again and again, until it is killed (or, given a count,
// that many times): save number n writes SaveState(n) with the position top n, then
// reads the file back.
#include "fault_support.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: save_loop PROGRAM-DIRECTORY [COUNT]\n");
        return 2;
    }
    const int count = argc == 3 ? std::atoi(argv[2]) : 0;
    PlainHost host(QString::fromLocal8Bit(argv[1]));
    std::puts("ready");
    std::fflush(stdout);
    for (int n = 1; count == 0 || n <= count; ++n) {
        host.position = {double(n), 0};
        if (auto error = SaveData(SaveState(n), host)) {
            std::fprintf(stderr, "save %d failed: %s\n", n, qPrintable(error->reason));
            return 1;
        }
        EntryTable read;
        if (auto error = LoadData(read, host)) {
            std::fprintf(stderr, "load %d failed: %s\n", n, qPrintable(error->reason));
            return 1;
        }
    }
    return 0;
}
