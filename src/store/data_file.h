#pragma once

#include "entry.h"

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
    Entries entries;
};

// Why a file could not be read whole, and where: `line` is 1-based, `entry` is the entry
// the problem lies in (0 for the position record), `offset` the 0-based byte offset of an
// undecodable byte.
struct ParseError {
    enum class Problem {
        Empty,
        NoConverter,
        NotCp932,
        CutInPosition,
        PositionFields,
        CutInEntry,
        StrayQuote,
        TextAfterQuote,
        TooManyEntries,
    };
    Problem problem = Problem::Empty;
    int line = 0;
    int entry = 0;
    qsizetype offset = 0;
};

std::variant<Contents, ParseError> Parse(QByteArrayView bytes);

// Bytes of a file holding `position` and `entries`, or nullopt when some text cannot be
// held faithfully: a double quote, or a character that code page 932 cannot encode or
// gives back as another (U+301C WAVE DASH comes back as U+FF5E). The caller then writes
// nothing. A line break inside a text survives between its quotes.
std::optional<QByteArray> Format(Position position, const Entries& entries);

// The first character of `text` that the file cannot hold as it is, or nullopt when the
// whole text can be stored: a double quote or a line break would end its field early, and
// a character that code page 932 gives back as another would change on the next start.
std::optional<char32_t> FirstUnstorable(QStringView text);

// The first text of `entry` in the edit panel's order (0 title, 1 ID, 2 PW, 3 URL) that the
// file cannot hold, and its first such character. Every way texts come in is held to it.
struct Unstorable {
    int field = 0;
    char32_t character = 0;
};
std::optional<Unstorable> FirstUnstorableField(const Entry& entry);

// The default file: the position, then one group entry titled `groupTitle`.
std::optional<QByteArray> DefaultFile(Position position, const QString& groupTitle);

// "1500" for whole values, "1500.5" otherwise; never a locale's separator.
QByteArray FormatNumber(double value);

} // namespace DataFile
