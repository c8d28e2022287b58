// Saves the way the program does, again and again, until it is killed (or, given a count,
// that many times): it reads the data file once, then save number n writes SaveState(n)
// with the position top n and reads the file back.
#include "fault_support.h"

#include <cstdio>
#include <cstdlib>

namespace {

int Fail(const char* what, int n, const StoreError& error)
{
    std::fprintf(stderr, "%s %d failed: cause %d, %s\n", what, n, int(error.cause),
                 qPrintable(error.systemReason));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: save_loop PROGRAM-DIRECTORY [COUNT]\n");
        return 2;
    }
    const int count = argc == 3 ? std::atoi(argv[2]) : 0;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    auto opened = DataSession::Open(dir, {0, 0}, QStringLiteral("新規グループ"), {});
    if (const auto* error = std::get_if<StoreError>(&opened))
        return Fail("load", 0, *error);
    if (!std::holds_alternative<DataSession>(opened)) {
        std::fprintf(stderr, "the data file is missing\n");
        return 1;
    }
    DataSession& session = std::get<DataSession>(opened);
    std::puts("ready");
    std::fflush(stdout);
    for (int n = 1; count == 0 || n <= count; ++n) {
        const auto saved = session.SaveData(SavePosition(n), SaveState(n));
        if (const auto* error = std::get_if<StoreError>(&saved))
            return Fail("save", n, *error);
        const auto loaded = ReadStoredData(dir);
        if (const auto* error = std::get_if<StoreError>(&loaded))
            return Fail("load", n, *error);
        if (std::get<Loaded>(loaded).bytes != SaveStateBytes(n)) {
            std::fprintf(stderr, "load %d read other bytes than the save wrote\n", n);
            return 1;
        }
    }
    return 0;
}
