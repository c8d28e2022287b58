#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The text of a small INI file, line by line, as a person may have written it: sections in
// brackets, "key=value" lines, comments starting with ";" or "#". Names are matched without
// regard to case, as Windows' own INI calls do; only the first of a repeated name counts.
// Setting a value changes that one line, or adds one, so everything else (other sections
// and keys, comments, blank lines, their order, the line endings and a byte order mark)
// comes back byte for byte.
class IniText {
public:
    // Nothing when `bytes` are not UTF-8 text: a byte sequence UTF-8 does not have, or a
    // NUL, which no text file holds.
    static std::optional<IniText> FromBytes(const QByteArray& bytes);

    // The value of `key` in `section`, without the blanks around it; nothing when it is not
    // there.
    std::optional<QString> Value(const QString& section, const QString& key) const;
    // Sets `key` in `section` to `value`: the line that holds it, or a new line at the end
    // of the section, or a new section at the end of the text.
    void SetValue(const QString& section, const QString& key, const QString& value);

    QByteArray ToBytes() const;

private:
    struct Place {
        qsizetype line = -1;       // the key's line, -1 when the key is not there
        qsizetype section = -1;    // the section's header, -1 when the section is not there
        qsizetype sectionEnd = -1; // its last line that is neither blank nor a comment
    };
    Place Find(const QString& section, const QString& key) const;
    QString Ended(const QString& line) const;

    // The lines without their "\n"; a "\r" before it stays part of the line. The last is
    // empty when the text ends with a line ending.
    QStringList lines_;
    bool byteOrderMark_ = false;
    bool crlf_ = false; // new lines end as the first line does
};
