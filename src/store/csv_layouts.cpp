#include "csv_layouts.h"

#include "atomic_write.h"
#include "data_file.h"

namespace CsvLayouts {

namespace {

const QStringList kKeePassXcHeader = {QStringLiteral("Group"),         QStringLiteral("Title"),
                                      QStringLiteral("Username"),      QStringLiteral("Password"),
                                      QStringLiteral("URL"),           QStringLiteral("Notes"),
                                      QStringLiteral("TOTP"),          QStringLiteral("Icon"),
                                      QStringLiteral("Last Modified"), QStringLiteral("Created")};
const QStringList kBitwardenHeader = {
    QStringLiteral("folder"),         QStringLiteral("favorite"),  QStringLiteral("type"),
    QStringLiteral("name"),           QStringLiteral("notes"),     QStringLiteral("fields"),
    QStringLiteral("reprompt"),       QStringLiteral("login_uri"), QStringLiteral("login_username"),
    QStringLiteral("login_password"), QStringLiteral("login_totp")};
// KeePassXC's top group; a heading is a group beneath it.
const QString kRoot = QStringLiteral("Root");
const QString kLogin = QStringLiteral("login");
constexpr int kGroupField = 4;

QStringList KeePassXcFields(const std::optional<QString>& group, const Entry& e)
{
    const QString path = group ? kRoot + u'/' + *group : kRoot;
    return {path, e.title, e.id, e.pw, e.url, {}, {}, {}, {}, {}};
}

QStringList BitwardenFields(const std::optional<QString>& group, const Entry& e)
{
    return {group.value_or(QString()), {},    kLogin, e.title, {}, {},
            QStringLiteral("0"),       e.url, e.id,   e.pw,    {}};
}

// KeePassXC names the top group first; what follows its "/" is the heading. A top group the
// user renamed is still the top group.
std::optional<QString> KeePassXcGroup(const QString& path)
{
    const qsizetype slash = path.indexOf(u'/');
    if (slash < 0)
        return std::nullopt;
    return path.mid(slash + 1);
}

std::optional<QString> BitwardenGroup(const QString& folder)
{
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

// The row as an entry, or why it cannot come in.
std::variant<Row, Refusal> RowOf(Layout layout, const Csv::Record& record)
{
    using Reason = Refusal::Reason;
    const QStringList& f = record.fields;
    const int line = record.line;
    const bool keePass = layout == Layout::KeePassXC;
    if (f.size() != (keePass ? kKeePassXcHeader : kBitwardenHeader).size())
        return Refusal{.line = line, .reason = Reason::FieldCount};
    if (!keePass && f[2] != kLogin)
        return Refusal{.line = line, .reason = Reason::NotLogin};
    Row row{.line = line,
            .group = keePass ? KeePassXcGroup(f[0]) : BitwardenGroup(f[0]),
            .entry = keePass ? Entry{f[1], f[2], f[3], f[4]} : Entry{f[3], f[8], f[9], f[7]}};
    if (const auto bad = DataFile::FirstUnstorableField(row.entry))
        return Refusal{line, Reason::Unstorable, bad->field, bad->character};
    if (row.group) {
        if (const auto bad = DataFile::FirstUnstorable(*row.group))
            return Refusal{line, Reason::Unstorable, kGroupField, *bad};
    }
    if (row.entry.IsGroup())
        return Refusal{.line = line, .reason = Reason::NoLoginData};
    return row;
}

} // namespace

QByteArray Format(const Entries& entries, Layout layout)
{
    const bool keePass = layout == Layout::KeePassXC;
    QByteArray bytes = Csv::Line(keePass ? kKeePassXcHeader : kBitwardenHeader, keePass);
    std::optional<QString> group;
    for (const Entry& entry : entries) {
        if (entry.IsGroup()) {
            group = entry.title;
            continue;
        }
        bytes += keePass ? Csv::Line(KeePassXcFields(group, entry), true)
                         : Csv::Line(BitwardenFields(group, entry), false);
    }
    return bytes;
}

std::optional<StoreError> Export(const QString& path, const Entries& entries, Layout layout)
{
    return AtomicWrite(path, Format(entries, layout));
}

std::variant<Rows, Problem> Read(QByteArrayView bytes)
{
    auto read = Csv::Read(bytes);
    if (const auto* error = std::get_if<Csv::ReadError>(&read))
        return Problem{.kind = Problem::Kind::Csv, .csv = *error};
    const auto& records = std::get<QList<Csv::Record>>(read);
    Rows rows;
    if (records.isEmpty())
        return Problem{.kind = Problem::Kind::UnknownHeader};
    if (records.front().fields == kKeePassXcHeader)
        rows.layout = Layout::KeePassXC;
    else if (records.front().fields == kBitwardenHeader)
        rows.layout = Layout::Bitwarden;
    else
        return Problem{.kind = Problem::Kind::UnknownHeader};
    for (qsizetype i = 1; i < records.size(); ++i) {
        auto row = RowOf(rows.layout, records[i]);
        if (auto* refusal = std::get_if<Refusal>(&row))
            rows.refused << *refusal;
        else
            rows.rows << std::get<Row>(row);
    }
    return rows;
}

std::variant<Rows, Problem> ReadFile(const QString& path)
{
    QByteArray bytes;
    if (auto error = ReadWholeFile(path, bytes, true, kMaxImportSize))
        return Problem{.kind = Problem::Kind::File, .file = *error};
    return Read(bytes);
}

} // namespace CsvLayouts
