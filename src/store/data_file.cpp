#include "data_file.h"

#include "cp932.h"
#include "resources/texts.h"

#include <cmath>

namespace DataFile {
namespace {

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool IsLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// Reads fields the way the writer lays them out, and also the shapes a person might
// leave after editing the file by hand: blanks around fields, unquoted fields, text after
// a closing quote, fields sharing a line, no line end after the last field.
class FieldReader {
public:
    explicit FieldReader(const QString& text) : text_(text) {}

    // The next field, or nullopt when the file ends before one is complete.
    std::optional<QString> Next()
    {
        while (pos_ < text_.size() && IsBlank(text_[pos_]))
            ++pos_;
        if (pos_ >= text_.size())
            return std::nullopt;
        QString value;
        if (text_[pos_] == u'"') {
            const qsizetype close = text_.indexOf(u'"', pos_ + 1);
            if (close < 0)
                return std::nullopt;
            value = text_.mid(pos_ + 1, close - pos_ - 1);
            pos_ = close + 1;
            while (pos_ < text_.size() && text_[pos_] != u',' && !IsLineEnd(text_[pos_]))
                ++pos_;
        } else {
            const qsizetype start = pos_;
            while (pos_ < text_.size() && text_[pos_] != u',' && !IsLineEnd(text_[pos_]))
                ++pos_;
            value = text_.mid(start, pos_ - start).trimmed();
        }
        SkipDelimiter();
        return value;
    }

    // True when nothing but blanks and line ends is left.
    bool AtEnd() const
    {
        for (qsizetype i = pos_; i < text_.size(); ++i)
            if (!IsBlank(text_[i]) && !IsLineEnd(text_[i]))
                return false;
        return true;
    }

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
        } else if (text_[pos_] == u'\n') {
            ++pos_;
        }
    }

    const QString& text_;
    qsizetype pos_ = 0;
};

// A position value that is not a finite number reads as 0.
double ReadNumber(const QString& field)
{
    bool ok = false;
    const double v = field.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

} // namespace

std::variant<Contents, ParseError> Parse(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return ParseError{Texts::FileEmpty};
    qsizetype badOffset = 0;
    const auto text = Cp932::Decode(bytes, &badOffset);
    if (!text)
        return ParseError{Texts::FileNotCp932.arg(badOffset + 1)};

    FieldReader reader(*text);
    Contents contents;
    const auto top = reader.Next();
    const auto left = top ? reader.Next() : std::nullopt;
    if (!top || !left)
        return ParseError{Texts::FileCutInPosition};
    contents.position = {ReadNumber(*top), ReadNumber(*left)};

    EntryTable& t = contents.table;
    while (!reader.AtEnd()) {
        if (t.DataCount == EntryTable::kCapacity)
            return ParseError{Texts::FileTooManyEntries};
        const int n = t.DataCount + 1;
        for (QString* column : {&t.DataTitle[n], &t.DataID[n], &t.DataPW[n], &t.DataURL[n]}) {
            auto field = reader.Next();
            if (!field)
                return ParseError{Texts::FileCutInEntry.arg(n)};
            // Only an unquoted field can hold a quote. Such a text could never be written
            // back, so every later save would fail: refuse the file while nothing is lost.
            if (field->contains(u'"'))
                return ParseError{Texts::FileStrayQuote.arg(n)};
            *column = std::move(*field);
        }
        t.DataCount = static_cast<qint16>(n);
    }
    return contents;
}

std::optional<QByteArray> Format(Position position, const EntryTable& table)
{
    // The whole file is laid out as text and converted at once: one pass through the
    // converter costs far less than one per field.
    QString text = QString::fromLatin1(FormatNumber(position.top) + ',' +
                                       FormatNumber(position.left) + "\r\n");
    for (int i = 1; i <= table.DataCount; ++i) {
        for (const QString* field :
             {&table.DataTitle[i], &table.DataID[i], &table.DataPW[i], &table.DataURL[i]}) {
            // A quote inside a text would end the field early when the file is read back.
            if (field->contains(u'"'))
                return std::nullopt;
            text += u'"';
            text += *field;
            text += u"\"\r\n";
        }
    }
    return Cp932::Encode(text);
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

QByteArray DefaultFile(Position position)
{
    EntryTable table;
    table.DataCount = 1;
    table.DataTitle[1] = Texts::NewGroupTitle;
    return *Format(position, table);
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
