#include "store_messages.h"

#include "resources/texts.h"

namespace {

QString Place(const DataFile::ParseError& damage)
{
    return damage.entry > 0 ? Texts::FilePlaceInEntry.arg(damage.line).arg(damage.entry)
                            : Texts::FilePlaceInPosition.arg(damage.line);
}

QString DamageReason(const DataFile::ParseError& damage)
{
    using Problem = DataFile::ParseError::Problem;
    switch (damage.problem) {
    case Problem::Empty:
        return Texts::FileEmpty;
    case Problem::NoConverter:
        return Texts::ReasonNoConverter;
    case Problem::NotCp932:
        return Texts::FileNotCp932.arg(damage.line).arg(damage.offset + 1);
    case Problem::CutInPosition:
        return Texts::FileCutInPosition;
    case Problem::PositionFields:
        return Texts::FilePositionFields;
    case Problem::CutInEntry:
        return Texts::FileCutInEntry.arg(Place(damage));
    case Problem::StrayQuote:
        return Texts::FileStrayQuote.arg(Place(damage));
    case Problem::TextAfterQuote:
        return Texts::FileTextAfterQuote.arg(Place(damage));
    case Problem::TooManyEntries:
        return Texts::FileTooManyEntries;
    }
    return {};
}

} // namespace

QString StoreErrorReason(const StoreError& error)
{
    using Cause = StoreError::Cause;
    switch (error.cause) {
    case Cause::System:
        return error.systemReason;
    case Cause::NotRegularFile:
        return Texts::ReasonNotRegularFile;
    case Cause::TooLarge:
        return Texts::ReasonTooLarge.arg(kMaxDataFileSize >> 20);
    case Cause::ReadIncomplete:
        return Texts::ReasonReadIncomplete;
    case Cause::Damaged:
        return DamageReason(error.damage);
    case Cause::UnstorableText:
        return Texts::ReasonUnstorableText;
    case Cause::NoConverter:
        return Texts::ReasonNoConverter;
    case Cause::FolderReplaced:
        return Texts::ReasonFolderReplaced;
    case Cause::LinkPutInPlace:
        return Texts::ReasonLinkPutInPlace;
    }
    return {};
}

QString EndingFailureMessage(const StoreError& error)
{
    const QString& text =
        error.kind == StoreError::Kind::Read ? Texts::FileReadFailed : Texts::FileWriteFailed;
    return text.arg(error.path, StoreErrorReason(error));
}
