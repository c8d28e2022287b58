// Any bytes handed to the CSV reader: it must never crash or hang, and whatever records it
// reads must come back the same from what the writer makes of them.
#include "store/csv_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <variant>

namespace {

[[noreturn]] void Broken(const char* what, qsizetype record)
{
    std::fprintf(stderr, "CSV round trip broken: %s (record %lld)\n", what,
                 static_cast<long long>(record));
    std::abort();
}

// The records written back, every field quoted or only where needed, and read again.
void CheckWrittenBack(const QList<Csv::Record>& records, bool quoteAll)
{
    QByteArray written;
    QList<Csv::Record> kept;
    for (const Csv::Record& record : records) {
        // Unquoted, one empty field is an empty line, which holds no record.
        if (!quoteAll && record.fields == QStringList{QString()})
            continue;
        written += Csv::Line(record.fields, quoteAll);
        kept << record;
    }
    const auto again = Csv::Read(written);
    const auto* read = std::get_if<QList<Csv::Record>>(&again);
    if (!read)
        Broken("written records are refused", 0);
    if (read->size() != kept.size())
        Broken("record count changed", read->size());
    for (qsizetype i = 0; i < kept.size(); ++i)
        if ((*read)[i].fields != kept[i].fields)
            Broken("record changed", i + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto parsed = Csv::Read(bytes);
    const auto* records = std::get_if<QList<Csv::Record>>(&parsed);
    if (!records)
        return 0; // refused: the import says why and changes nothing
    int line = 0;
    for (qsizetype i = 0; i < records->size(); ++i) {
        if ((*records)[i].line <= line || (*records)[i].fields.isEmpty())
            Broken("records out of order or empty", i + 1);
        line = (*records)[i].line;
    }
    CheckWrittenBack(*records, true);
    CheckWrittenBack(*records, false);
    return 0;
}
