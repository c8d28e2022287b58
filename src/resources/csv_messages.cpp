#include "csv_messages.h"

#include "character_name.h"
#include "store_messages.h"
#include "texts.h"

namespace CsvMessages {

namespace {

// A longer list would not fit on the screen; the rest are counted.
constexpr qsizetype kListedRefusals = 20;

QString Reason(const CsvLayouts::Problem& problem)
{
    using Kind = CsvLayouts::Problem::Kind;
    using Csv = Csv::ReadError::Problem;
    if (problem.kind == Kind::UnknownHeader)
        return Texts::ImportUnknownHeader;
    if (problem.kind == Kind::File) {
        if (problem.file.cause == StoreError::Cause::TooLarge)
            return Texts::ImportTooLarge.arg(CsvLayouts::kMaxImportSize >> 10);
        return StoreErrorReason(problem.file);
    }
    switch (problem.csv.problem) {
    case Csv::Binary:
        return Texts::ImportBinary.arg(problem.csv.line);
    case Csv::NotUtf8:
        return Texts::ImportNotUtf8.arg(problem.csv.line);
    case Csv::OpenQuote:
        return Texts::ImportOpenQuote.arg(problem.csv.line);
    case Csv::TextAfterQuote:
        return Texts::ImportTextAfterQuote.arg(problem.csv.line);
    }
    return {};
}

QString RefusalReason(const CsvLayouts::Refusal& refusal)
{
    using Reason = CsvLayouts::Refusal::Reason;
    switch (refusal.reason) {
    case Reason::FieldCount:
        return Texts::ImportFieldCount;
    case Reason::NotLogin:
        return Texts::ImportNotLogin;
    case Reason::NoLoginData:
        return Texts::ImportNoLoginData;
    case Reason::Unstorable:
        break;
    }
    const QString* fields[] = {&Texts::TitleFieldName, &Texts::IdFieldName, &Texts::PwFieldName,
                               &Texts::UrlFieldName, &Texts::GroupFieldName};
    return Texts::ImportUnstorable.arg(*fields[refusal.field],
                                       Texts::CharacterName(refusal.character));
}

} // namespace

QString ImportFailed(const QString& path, const CsvLayouts::Problem& problem)
{
    return Texts::ImportFailed.arg(ShownPath(path), Reason(problem));
}

QString ImportSummary(const QList<CsvLayouts::Refusal>& refused, int taken, int headings, int left)
{
    QStringList parts;
    if (taken == 0)
        parts << Texts::ImportNothing;
    else
        parts << Texts::ImportComing.arg(taken);
    if (headings > 0)
        parts.last() += Texts::ImportNewHeadings.arg(headings);
    if (left > 0)
        parts << Texts::ImportLeftOut.arg(kEntryCapacity).arg(left);
    if (!refused.isEmpty()) {
        QStringList lines{Texts::ImportRefusedRows.arg(refused.size())};
        for (qsizetype i = 0; i < std::min(refused.size(), kListedRefusals); ++i)
            lines << Texts::ImportRowRefused.arg(refused[i].line).arg(RefusalReason(refused[i]));
        if (refused.size() > kListedRefusals)
            lines << Texts::ImportMoreRefused.arg(refused.size() - kListedRefusals);
        parts << lines.join(u'\n');
    }
    if (taken > 0)
        parts << Texts::ImportQuestion;
    return parts.join(QStringLiteral("\n\n"));
}

QString ExportFailed(const StoreError& error)
{
    return Texts::ExportFailed.arg(ShownPath(error.path), StoreErrorReason(error));
}

} // namespace CsvMessages
