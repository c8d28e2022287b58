// The plain data file as the way in and out: the export for older tools, the import of
// one, and the plain kept copies a turn-on leaves in the folder.
#include "data_session.h"

#include "atomic_write.h"
#include "data_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// KeepCopy's names for the plain data file: the date and time, "-2" and on when taken.
bool IsPlainKeptCopy(const QString& name)
{
    static const QRegularExpression kept(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(StoreFiles::Data) + QStringLiteral("\\.\\d{8}-\\d{6}(-\\d+)?")));
    return kept.match(name).hasMatch();
}

} // namespace

std::optional<StoreError> DataSession::ExportLegacy(const QString& path) const
{
    if (Locked())
        return Refusal(path, StoreError::Cause::Locked);
    return AtomicWrite(path, Plain());
}

std::variant<DataSession::SaveReport, StoreError> DataSession::ImportLegacy(const QString& path)
{
    if (Locked())
        return Refusal(DataPath(), StoreError::Cause::Locked);
    auto read = ReadDataFile(path);
    if (auto* error = std::get_if<StoreError>(&read))
        return std::move(*error);
    auto kept = KeepCopy(DataPath(), read_);
    if (auto* error = std::get_if<StoreError>(&kept))
        return std::move(*error);
    auto saved = SaveData(position_, std::get<Loaded>(read).contents.entries);
    if (auto* report = std::get_if<SaveReport>(&saved))
        report->ownVersion = std::get<QString>(kept);
    return saved;
}

QStringList DataSession::PlainKeptCopies() const
{
    QStringList names;
    const auto found = QDir(programDirectory_)
                           .entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& file : found)
        if (!file.isSymLink() && IsPlainKeptCopy(file.fileName()))
            names << file.fileName();
    return names;
}

std::optional<StoreError> DataSession::RemoveKeptCopies(const QStringList& names)
{
    const QStringList present = PlainKeptCopies();
    QStringList paths;
    for (const QString& name : names)
        if (present.contains(name))
            paths << AppDir(programDirectory_) + name;
    return RemoveFiles(paths);
}
