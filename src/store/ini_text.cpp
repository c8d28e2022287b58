#include "ini_text.h"

#include <QStringDecoder>

namespace {

const QByteArray kByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

bool IsComment(QStringView trimmed)
{
    return trimmed.startsWith(u';') || trimmed.startsWith(u'#');
}

// The section a header line names; nothing when the line is no header.
std::optional<QStringView> Header(QStringView trimmed)
{
    if (trimmed.size() < 2 || !trimmed.startsWith(u'[') || !trimmed.endsWith(u']'))
        return std::nullopt;
    return trimmed.mid(1, trimmed.size() - 2).trimmed();
}

bool SameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The key a "key=value" line names; nothing for any other line.
std::optional<QStringView> KeyOf(QStringView trimmed)
{
    const qsizetype equals = trimmed.indexOf(u'=');
    if (equals <= 0 || IsComment(trimmed))
        return std::nullopt;
    return trimmed.left(equals).trimmed();
}

} // namespace

std::optional<IniText> IniText::FromBytes(const QByteArray& bytes)
{
    IniText text;
    text.byteOrderMark_ = bytes.startsWith(kByteOrderMark);
    const QByteArray body = text.byteOrderMark_ ? bytes.mid(kByteOrderMark.size()) : bytes;
    if (body.contains('\0'))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(body);
    if (decoder.hasError())
        return std::nullopt;
    text.lines_ = decoded.split(u'\n');
    text.crlf_ = text.lines_.size() > 1 && text.lines_.front().endsWith(u'\r');
    return text;
}

IniText::Place IniText::Find(const QString& section, const QString& key) const
{
    Place place;
    bool inSection = false;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const QStringView trimmed = QStringView(lines_[i]).trimmed();
        if (const auto header = Header(trimmed)) {
            if (place.section >= 0)
                break; // only the first section of the name counts
            inSection = SameName(*header, section);
            if (inSection)
                place.section = place.sectionEnd = i;
            continue;
        }
        if (!inSection)
            continue;
        if (!trimmed.isEmpty() && !IsComment(trimmed))
            place.sectionEnd = i;
        if (const auto name = KeyOf(trimmed); name && SameName(*name, key)) {
            place.line = i;
            return place;
        }
    }
    return place;
}

std::optional<QString> IniText::Value(const QString& section, const QString& key) const
{
    const Place place = Find(section, key);
    if (place.line < 0)
        return std::nullopt;
    const QString& line = lines_[place.line];
    return line.mid(line.indexOf(u'=') + 1).trimmed();
}

QString IniText::Ended(const QString& line) const
{
    return crlf_ ? line + u'\r' : line;
}

void IniText::SetValue(const QString& section, const QString& key, const QString& value)
{
    const Place place = Find(section, key);
    if (place.line >= 0) {
        // The key as written and the blanks after "=" stay; so does a "\r".
        QString& line = lines_[place.line];
        qsizetype start = line.indexOf(u'=') + 1;
        while (start < line.size() && (line[start] == u' ' || line[start] == u'\t'))
            ++start;
        line = line.left(start) + value + (line.endsWith(u'\r') ? QStringLiteral("\r") : QString());
        return;
    }
    // What is added goes on lines of their own.
    if (!lines_.back().isEmpty()) {
        lines_.back() = Ended(lines_.back());
        lines_ << QString();
    }
    const QString entry = Ended(key + u'=' + value);
    if (place.section >= 0) {
        lines_.insert(place.sectionEnd + 1, entry);
        return;
    }
    // A new section at the end, after a blank line when something comes before it.
    lines_.removeLast();
    if (!lines_.isEmpty())
        lines_ << Ended(QString());
    lines_ << Ended(u'[' + section + u']') << entry << QString();
}

QByteArray IniText::ToBytes() const
{
    const QByteArray body = lines_.join(u'\n').toUtf8();
    return byteOrderMark_ ? kByteOrderMark + body : body;
}
