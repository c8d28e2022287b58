#include "recovery.h"

#include "atomic_write.h"
#include "cp932.h"
#include "data_file.h"
#include "data_folder.h"

#include <QStringDecoder>
#include <algorithm>

std::optional<QByteArray> FromEditorUtf8(const QByteArray& bytes)
{
    // Plain ASCII reads the same either way: a file of it was never saved as UTF-8 alone.
    QByteArrayView utf8(bytes);
    if (utf8.startsWith("\xEF\xBB\xBF"))
        utf8 = utf8.sliced(3);
    else if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return uchar(c) < 0x80; }))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(utf8);
    if (decoder.hasError() || Cp932::FirstUnfaithful(text))
        return std::nullopt;
    auto converted = Cp932::Encode(text);
    if (!converted || !std::holds_alternative<DataFile::Contents>(DataFile::Parse(*converted)))
        return std::nullopt;
    return converted;
}

std::optional<QByteArray> BackupThatReads(const QString& programDirectory)
{
    QByteArray bytes;
    if (ReadWholeFile(BackupPath(programDirectory), bytes))
        return std::nullopt;
    if (!std::holds_alternative<DataFile::Contents>(DataFile::Parse(bytes)))
        return std::nullopt;
    return bytes;
}

std::variant<QString, StoreError>
ReplaceKeeping(const QString& dataPath, const QByteArray& unreadable, const QByteArray& replacement)
{
    auto kept = KeepCopy(dataPath, unreadable);
    if (std::holds_alternative<StoreError>(kept))
        return kept;
    if (auto error = AtomicWrite(dataPath, replacement))
        return *error;
    return kept;
}
