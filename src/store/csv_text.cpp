#include "csv_text.h"

#include <QStringDecoder>

namespace Csv {

namespace {

// Walks the decoded text once, field by field.
class Reader {
public:
    explicit Reader(QStringView text) : text_(text) {}

    std::variant<QList<Record>, ReadError> All()
    {
        QList<Record> records;
        while (pos_ < text_.size()) {
            if (AtLineEnd()) {
                SkipLineEnd(); // an empty line holds no record
                continue;
            }
            Record record{.line = line_, .fields = {}};
            for (;;) {
                if (auto error = NextField(record.fields))
                    return *error;
                if (pos_ < text_.size() && text_[pos_] == u',') {
                    ++pos_;
                    continue;
                }
                SkipLineEnd();
                break;
            }
            records << record;
        }
        return records;
    }

private:
    bool AtLineEnd() const { return text_[pos_] == u'\r' || text_[pos_] == u'\n'; }

    void SkipLineEnd()
    {
        if (pos_ < text_.size() && text_[pos_] == u'\r')
            ++pos_;
        if (pos_ < text_.size() && text_[pos_] == u'\n')
            ++pos_;
        ++line_;
    }

    // Reads one field up to the comma or line end that follows it.
    std::optional<ReadError> NextField(QStringList& fields)
    {
        if (pos_ < text_.size() && text_[pos_] == u'"')
            return Quoted(fields);
        const qsizetype start = pos_;
        while (pos_ < text_.size() && text_[pos_] != u',' && !AtLineEnd())
            ++pos_;
        fields << text_.mid(start, pos_ - start).toString();
        return std::nullopt;
    }

    std::optional<ReadError> Quoted(QStringList& fields)
    {
        const int startLine = line_;
        QString field;
        ++pos_;
        for (;;) {
            if (pos_ >= text_.size())
                return ReadError{ReadError::Problem::OpenQuote, startLine};
            const QChar c = text_[pos_++];
            if (c == u'\n' || (c == u'\r' && (pos_ >= text_.size() || text_[pos_] != u'\n')))
                ++line_;
            if (c != u'"') {
                field += c;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == u'"') {
                field += c;
                ++pos_;
                continue;
            }
            break;
        }
        if (pos_ < text_.size() && text_[pos_] != u',' && !AtLineEnd())
            return ReadError{ReadError::Problem::TextAfterQuote, line_};
        fields << field;
        return std::nullopt;
    }

    QStringView text_;
    qsizetype pos_ = 0;
    int line_ = 1;
};

// The 1-based line of byte `offset`.
int LineAt(QByteArrayView bytes, qsizetype offset)
{
    const QByteArrayView before = bytes.first(offset);
    return int(before.count('\n') + 1);
}

bool NeedsQuotes(const QString& field)
{
    if (field.isEmpty())
        return false;
    for (const QChar c : field)
        if (c == u',' || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    // A leading mark would be taken for the file's byte order mark.
    return field.front().isSpace() || field.back().isSpace() ||
           field.front() == QChar::ByteOrderMark;
}

} // namespace

std::variant<QList<Record>, ReadError> Read(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0)
        return ReadError{ReadError::Problem::Binary, LineAt(bytes, nul)};
    // The mark was skipped above; a second one is text.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        // The line of the first byte that does not decode.
        const qsizetype bad = text.indexOf(QChar::ReplacementCharacter);
        const int line = bad < 0 ? 1 : int(QStringView(text).first(bad).count(u'\n') + 1);
        return ReadError{ReadError::Problem::NotUtf8, line};
    }
    return Reader(text).All();
}

QByteArray Line(const QStringList& fields, bool quoteAll)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += u',';
        const QString& field = fields[i];
        if (quoteAll || NeedsQuotes(field))
            line += u'"' + QString(field).replace(u'"', QStringLiteral("\"\"")) + u'"';
        else
            line += field;
    }
    return (line + QStringLiteral("\r\n")).toUtf8();
}

} // namespace Csv
