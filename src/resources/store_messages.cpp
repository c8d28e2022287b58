#include "store_messages.h"

#include "store/entry.h"
#include "store/settings_file.h"
#include "system_trouble.h"
#include "texts.h"

#include <QDir>
#include <QFileInfo>

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
        return Texts::FileTooManyEntries.arg(kEntryCapacity);
    }
    return {};
}

QString SealReason(SealedFile::Refusal refusal)
{
    using Refusal = SealedFile::Refusal;
    switch (refusal) {
    case Refusal::NotSealed:
        return Texts::SealNotSealed;
    case Refusal::Cut:
        return Texts::SealCut;
    case Refusal::UnknownVersion:
        return Texts::SealUnknownVersion;
    case Refusal::NotOpened:
        return Texts::SealNotOpened;
    case Refusal::NoMemory:
        return Texts::SealNoMemory;
    }
    return {};
}

QString Advice(SystemTrouble trouble)
{
    switch (trouble) {
    case SystemTrouble::Other:
        break;
    case SystemTrouble::ReadOnly:
        return Texts::ReasonReadOnly;
    case SystemTrouble::AccessDenied:
        return Texts::ReasonAccessDenied;
    case SystemTrouble::DiskFull:
        return Texts::ReasonDiskFull;
    case SystemTrouble::PathTooLong:
        return Texts::ReasonPathTooLong;
    case SystemTrouble::InUse:
        return Texts::ReasonInUse;
    }
    return {};
}

// The system's own text, with the paths it names in the system's form, after what the
// user can do about it when that is known.
QString SystemReason(const StoreError& error)
{
    const QString folder = QFileInfo(error.path).path() + u'/';
    const QString own = QString(error.systemReason).replace(folder, ShownPath(folder));
    const QString advice = Advice(TroubleOf(error));
    return advice.isEmpty() ? own : Texts::SystemReasonWithAdvice.arg(advice, own);
}

} // namespace

QString ShownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString StoreErrorReason(const StoreError& error)
{
    using Cause = StoreError::Cause;
    switch (error.cause) {
    case Cause::System:
        return SystemReason(error);
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
    case Cause::NotSettings:
        return Texts::ReasonNotSettings.arg(SettingsFile::kMaxSize >> 10);
    case Cause::SealRefused:
        return SealReason(error.seal);
    case Cause::Locked:
        return Texts::ReasonLocked;
    }
    return {};
}

QString EndingFailureMessage(const StoreError& error)
{
    const QString& text =
        error.kind == StoreError::Kind::Read ? Texts::FileReadFailed : Texts::FileWriteFailed;
    return text.arg(ShownPath(error.path), StoreErrorReason(error));
}

QString CommitFailureMessage(const StoreError& error)
{
    return Texts::CommitWriteFailed.arg(ShownPath(error.path), StoreErrorReason(error));
}

QString SettingsFailureMessage(const StoreError& error)
{
    return Texts::SettingsWriteFailed.arg(ShownPath(error.path), StoreErrorReason(error));
}

QStringList SaveNotices(const DataSession::SaveReport& saved, const QString& dataPath)
{
    QStringList notices;
    auto add = [&](const QString& text, const QStringList& names) {
        if (!names.isEmpty())
            notices << text.arg(ShownPath(dataPath), ShownPath(names.join(u'\n')));
    };
    add(Texts::OtherVersionKept, saved.keptVersions);
    add(Texts::OtherVersionCaught, saved.caughtVersions);
    if (!saved.ownVersion.isEmpty())
        add(Texts::OwnVersionKept, {saved.ownVersion});
    return notices;
}
