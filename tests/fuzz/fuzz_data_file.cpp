// Any bytes handed to the data-file reader: it must never crash or hang, and whatever it
// accepts must be written back and read again without losing or changing anything.
#include "store/data_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <variant>

namespace {

[[noreturn]] void Broken(const char* what, int entry = 0)
{
    std::fprintf(stderr, "data file round trip broken: %s (entry %d)\n", what, entry);
    std::abort();
}

// Positions are compared as written: the writer keeps six decimals.
bool SamePosition(const DataFile::Position& a, const DataFile::Position& b)
{
    using DataFile::FormatNumber;
    return FormatNumber(a.top) == FormatNumber(b.top) &&
           FormatNumber(a.left) == FormatNumber(b.left);
}

void CheckSame(const DataFile::Contents& a, const DataFile::Contents& b)
{
    if (!SamePosition(a.position, b.position))
        Broken("position changed");
    if (a.entries.size() != b.entries.size())
        Broken("entry count changed");
    for (qsizetype i = 0; i < a.entries.size(); ++i)
        if (a.entries[i] != b.entries[i])
            Broken("entry changed", int(i) + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto parsed = DataFile::Parse(bytes);
    const auto* read = std::get_if<DataFile::Contents>(&parsed);
    if (!read)
        return 0; // refused: the program reports it and writes nothing
    if (read->entries.size() > kEntryCapacity)
        Broken("entry count out of range");

    // Whatever was read can be saved again; a refusal here would end the program at
    // its next save.
    const auto written = DataFile::Format(read->position, read->entries);
    if (!written)
        Broken("accepted file cannot be written back");

    const auto reread = DataFile::Parse(*written);
    const auto* again = std::get_if<DataFile::Contents>(&reread);
    if (!again)
        Broken("written file is refused");
    CheckSame(*read, *again);

    // What the writer produces is read and written back byte for byte.
    const auto rewritten = DataFile::Format(again->position, again->entries);
    if (!rewritten || *rewritten != *written)
        Broken("written file is not stable");
    return 0;
}
