// Any bytes handed to the data-file reader: it must never crash or hang, and whatever it
// accepts must be written back and read again without losing or changing anything. Bytes
// that begin as an encrypted file go to its reader first: a header it accepts must be
// written back as it was, and what opens under the seeds' key goes on to the data-file
// reader.
#include "store/data_file.h"
#include "store/sealed_file.h"

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

// The key the sealed seeds of the corpus were made with: bytes 80 to 9f.
const SealKey& SeedKey()
{
    static const SealKey key = [] {
        std::array<unsigned char, SealKey::kSize> bytes{};
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<unsigned char>(0x80 + i);
        return std::move(*SealKey::FromBytes(bytes));
    }();
    return key;
}

int CheckDataFile(QByteArrayView bytes);

// The encrypted file's reader: never a crash, a header read back as it stands, and only
// a whole file opens.
void CheckSealed(QByteArrayView bytes)
{
    const auto header = SealedFile::ReadHeader(bytes);
    const auto* read = std::get_if<SealedFile::Header>(&header);
    if (!read)
        return;
    if (SealedFile::HeaderBytes(*read) != bytes.first(SealedFile::kHeaderSize))
        Broken("header not read as it stands");
    const auto opened = SealedFile::Open(SeedKey(), bytes);
    if (const auto* plain = std::get_if<QByteArray>(&opened)) {
        if (plain->size() != bytes.size() - SealedFile::kHeaderSize - SealedFile::kTagSize)
            Broken("opened text of the wrong size");
        CheckDataFile(*plain);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CheckSealed(bytes);
    return CheckDataFile(bytes);
}

namespace {

int CheckDataFile(QByteArrayView bytes)
{
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

} // namespace
