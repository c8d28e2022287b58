#pragma once

#include "entry_table.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>

// The data file's bytes, without any file access: a position record "top,left" in twips,
// then four quoted lines (title, ID, PW, URL) per entry, code page 932, CR LF line ends.
namespace DataFile {

struct Position {
    double top = 0;
    double left = 0;
};

struct Contents {
    Position position;
    EntryTable table;
};

// Why a file could not be read whole; `what` is a sentence for the user.
struct ParseError {
    QString what;
};

std::variant<Contents, ParseError> Parse(QByteArrayView bytes);

// Bytes of a file holding `position` and entries 1..DataCount of `table`, or nullopt
// when some text cannot be held faithfully (the caller then writes nothing).
std::optional<QByteArray> Format(Position position, const EntryTable& table);

// The first character of `text` that the file cannot hold as it is, or nullopt when the
// whole text can be stored: a double quote or a line break would end its field early, and
// a character that code page 932 gives back as another would change on the next start.
std::optional<char32_t> FirstUnstorable(QStringView text);

// The default file: the position, then the group entry "新規グループ" with empty texts.
QByteArray DefaultFile(Position position);

// "1500" for whole values, "1500.5" otherwise; never a locale's separator.
QByteArray FormatNumber(double value);

} // namespace DataFile
