#pragma once

#include "csv_text.h"
#include "entry.h"
#include "store_error.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <variant>

// The entries as the two CSV layouts other keepers exchange: KeePassXC's (every field
// quoted, the group as "Root/heading") and Bitwarden's (a folder per heading). A group
// entry is a heading, not an entry of its own: it gives its title to the entries under it.
namespace CsvLayouts {

enum class Layout { KeePassXC, Bitwarden };

// The whole file, UTF-8, CR LF line ends. Nothing is escaped for spreadsheets: passwords
// begin with "=" or "-" as they please.
QByteArray Format(const Entries& entries, Layout layout);

// Writes the file through a temporary file readable by the owner alone, renamed into place.
std::optional<StoreError> Export(const QString& path, const Entries& entries, Layout layout);

// A row that can come in: its entry, and the heading it stands under (none: before the
// first heading).
struct Row {
    int line = 0;
    std::optional<QString> group;
    Entry entry;
};

// A row that cannot, and why. `field` is the text concerned (0 title, 1 ID, 2 PW, 3 URL,
// 4 the group) with its first character the data file cannot hold.
struct Refusal {
    enum class Reason {
        FieldCount,  // not as many fields as the header names
        NotLogin,    // a Bitwarden item other than a login (a note, a card, an identity)
        NoLoginData, // ID, PW and URL all empty: it would turn into a heading
        Unstorable,
    };
    int line = 0;
    Reason reason = Reason::FieldCount;
    int field = 0;
    char32_t character = 0;
};

struct Rows {
    Layout layout = Layout::KeePassXC;
    QList<Row> rows;
    QList<Refusal> refused;
};

// Why a file was not read at all; nothing of it comes in.
struct Problem {
    enum class Kind {
        File,          // see `file`; a file over kMaxImportSize is TooLarge
        Csv,           // see `csv`: binary, not UTF-8, or not readable as CSV
        UnknownHeader, // the first record names neither layout
    };
    Kind kind = Kind::File;
    StoreError file{};
    Csv::ReadError csv{};
};

// An export of 200 entries is some tens of kilobytes; this is far past any.
inline constexpr qint64 kMaxImportSize = qint64(1) << 20;

// The layout is told by the header, the first record.
std::variant<Rows, Problem> Read(QByteArrayView bytes);
std::variant<Rows, Problem> ReadFile(const QString& path);

} // namespace CsvLayouts
