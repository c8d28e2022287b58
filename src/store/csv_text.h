#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <variant>

// Comma-separated text as other keepers read and write it: UTF-8, fields in double quotes
// where they need them (a quote inside doubled), commas and line ends inside quotes kept.
namespace Csv {

// One record and the file line it starts on (1-based), for messages about it.
struct Record {
    int line = 0;
    QStringList fields;
};

struct ReadError {
    enum class Problem {
        Binary,         // a NUL byte: not a text file at all
        NotUtf8,        // bytes that are not UTF-8
        OpenQuote,      // a quoted field never closed
        TextAfterQuote, // "abc"def: where the field ends is anyone's guess
    };
    Problem problem = Problem::Binary;
    int line = 0;
};

// The records of `bytes`. A UTF-8 byte order mark is skipped; records end with CR LF, LF or
// a lone CR; empty lines are no records. A quote inside an unquoted field is taken as it is.
std::variant<QList<Record>, ReadError> Read(QByteArrayView bytes);

// One record with its CR LF. `quoteAll` quotes every field; otherwise only those that need
// it: a comma, a quote, a line end, or a blank at either end.
QByteArray Line(const QStringList& fields, bool quoteAll);

} // namespace Csv
