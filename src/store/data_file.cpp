#include "data_file.h"

#include "cp932.h"

#include <cmath>

namespace DataFile {
namespace {

using Problem = ParseError::Problem;

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool IsLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// Reads fields the way the writer lays them out, and also the shapes a person might
// leave after editing the file by hand: blanks around fields, unquoted fields, fields
// sharing a line, no line end after the last field. Shapes that could only be read by
// dropping part of the text (anything after a closing quote) are reported instead.
class FieldReader {
public:
    explicit FieldReader(const QString& text) : text_(text) {}

    struct Field {
        QString value;
        bool endedByComma = false;
    };

    // The next field; nullopt when the file ends before one is complete, or when text
    // follows a closing quote (TrailingText() tells which).
    std::optional<Field> Next()
    {
        while (pos_ < text_.size() && IsBlank(text_[pos_]))
            ++pos_;
        if (pos_ >= text_.size())
            return std::nullopt;
        Field field;
        if (text_[pos_] == u'"') {
            const qsizetype close = text_.indexOf(u'"', pos_ + 1);
            if (close < 0)
                return std::nullopt;
            field.value = text_.mid(pos_ + 1, close - pos_ - 1);
            CountLines(pos_, close);
            pos_ = close + 1;
            while (pos_ < text_.size() && IsBlank(text_[pos_]))
                ++pos_;
            if (pos_ < text_.size() && text_[pos_] != u',' && !IsLineEnd(text_[pos_])) {
                trailingText_ = true;
                return std::nullopt;
            }
        } else {
            const qsizetype start = pos_;
            while (pos_ < text_.size() && text_[pos_] != u',' && !IsLineEnd(text_[pos_]))
                ++pos_;
            field.value = text_.mid(start, pos_ - start).trimmed();
        }
        field.endedByComma = pos_ < text_.size() && text_[pos_] == u',';
        SkipDelimiter();
        return field;
    }

    // True when nothing but blanks and line ends is left.
    bool AtEnd() const
    {
        for (qsizetype i = pos_; i < text_.size(); ++i)
            if (!IsBlank(text_[i]) && !IsLineEnd(text_[i]))
                return false;
        return true;
    }

    bool TrailingText() const { return trailingText_; }
    // The 1-based line the reader stands on.
    int Line() const { return line_; }

private:
    void SkipDelimiter()
    {
        if (pos_ >= text_.size())
            return;
        if (text_[pos_] == u',') {
            ++pos_;
        } else if (text_[pos_] == u'\r') {
            ++pos_;
            if (pos_ < text_.size() && text_[pos_] == u'\n')
                ++pos_;
            ++line_;
        } else if (text_[pos_] == u'\n') {
            ++pos_;
            ++line_;
        }
    }

    // A quoted field may span lines (a line break inside a text): keep the count true for
    // the messages about later lines.
    void CountLines(qsizetype from, qsizetype to)
    {
        for (qsizetype i = from; i < to; ++i)
            if (text_[i] == u'\n' || (text_[i] == u'\r' && (i + 1 >= to || text_[i + 1] != u'\n')))
                ++line_;
    }

    const QString& text_;
    qsizetype pos_ = 0;
    int line_ = 1;
    bool trailingText_ = false;
};

// A position value that is not a finite number reads as 0.
double ReadNumber(const QString& field)
{
    bool ok = false;
    const double v = field.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

// The 1-based line of a byte offset; a line feed byte is never part of a double-byte
// character, so counting them is exact.
int LineOfOffset(QByteArrayView bytes, qsizetype offset)
{
    return 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + offset, '\n'));
}

} // namespace

std::variant<Contents, ParseError> Parse(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return ParseError{Problem::Empty};
    if (!Cp932::Available())
        return ParseError{Problem::NoConverter};
    qsizetype badOffset = 0;
    const auto text = Cp932::Decode(bytes, &badOffset);
    if (!text)
        return ParseError{Problem::NotCp932, LineOfOffset(bytes, badOffset), 0, badOffset};

    FieldReader reader(*text);
    auto broken = [&reader](Problem cut, int entry) {
        return ParseError{reader.TrailingText() ? Problem::TextAfterQuote : cut, reader.Line(),
                          entry};
    };
    Contents contents;
    const auto top = reader.Next();
    const auto left = top ? reader.Next() : std::nullopt;
    if (!top || !left)
        return broken(Problem::CutInPosition, 0);
    // A third field on the position line would shift every entry by one text.
    if (top->endedByComma && left->endedByComma)
        return ParseError{Problem::PositionFields, 1, 0};
    contents.position = {ReadNumber(top->value), ReadNumber(left->value)};

    Entries& entries = contents.entries;
    while (!reader.AtEnd()) {
        const int n = static_cast<int>(entries.size()) + 1;
        if (n > kEntryCapacity)
            return ParseError{Problem::TooManyEntries, reader.Line(), n};
        Entry entry;
        for (QString* text : {&entry.title, &entry.id, &entry.pw, &entry.url}) {
            const int line = reader.Line();
            auto field = reader.Next();
            if (!field)
                return broken(Problem::CutInEntry, n);
            // Only an unquoted field can hold a quote. Such a text could never be written
            // back, so every later save would fail: refuse the file while nothing is lost.
            if (field->value.contains(u'"'))
                return ParseError{Problem::StrayQuote, line, n};
            *text = std::move(field->value);
        }
        entries.append(std::move(entry));
    }
    return contents;
}

std::optional<QByteArray> Format(Position position, const Entries& entries)
{
    // The whole file is laid out as text and converted at once: one pass through the
    // converter costs far less than one per field.
    QString text = QString::fromLatin1(FormatNumber(position.top) + ',' +
                                       FormatNumber(position.left) + "\r\n");
    for (const Entry& entry : entries) {
        for (const QString* field : {&entry.title, &entry.id, &entry.pw, &entry.url}) {
            // A quote inside a text would end the field early when the file is read back.
            if (field->contains(u'"'))
                return std::nullopt;
            text += u'"';
            text += *field;
            text += u"\"\r\n";
        }
    }
    auto bytes = Cp932::Encode(text);
    // Some characters encode to bytes that read back as another one (U+301C WAVE DASH
    // comes back as U+FF5E): such a file would change the user's text at the next start.
    if (!bytes || Cp932::Decode(*bytes) != text)
        return std::nullopt;
    return bytes;
}

std::optional<char32_t> FirstUnstorable(QStringView text)
{
    qsizetype breaking = 0;
    while (breaking < text.size() && text[breaking] != u'"' && text[breaking] != u'\r' &&
           text[breaking] != u'\n')
        ++breaking;
    // Whichever comes first: a character before the quote or line break that code page 932
    // would change, or that quote or line break.
    if (const auto changed = Cp932::FirstUnfaithful(text.first(breaking)))
        return changed;
    if (breaking < text.size())
        return text[breaking].unicode();
    return std::nullopt;
}

std::optional<Unstorable> FirstUnstorableField(const Entry& entry)
{
    const QString* fields[] = {&entry.title, &entry.id, &entry.pw, &entry.url};
    for (int i = 0; i < 4; ++i)
        if (const auto bad = FirstUnstorable(*fields[i]))
            return Unstorable{i, *bad};
    return std::nullopt;
}

std::optional<QByteArray> DefaultFile(Position position, const QString& groupTitle)
{
    return Format(position, {Entry{groupTitle, {}, {}, {}}});
}

QByteArray FormatNumber(double value)
{
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QByteArray::number(static_cast<qint64>(value));
    QByteArray s = QByteArray::number(value, 'f', 6);
    while (s.endsWith('0'))
        s.chop(1);
    if (s.endsWith('.'))
        s.chop(1);
    // A tiny negative value rounds to "-0", which would read back as 0 and be written "0".
    if (s == "-0")
        return "0";
    return s;
}

} // namespace DataFile
