#include "sealed_store.h"

#include "atomic_write.h"

std::variant<SealedFile::Unlocked, StoreError> UnlockFile(const QString& path, QStringView password)
{
    QByteArray bytes;
    if (auto failed = ReadWholeFile(path, bytes))
        return *failed;
    auto unlocked = SealedFile::Unlock(password, bytes);
    if (auto* refused = std::get_if<SealedFile::Refusal>(&unlocked)) {
        StoreError error{StoreError::Kind::Read, path, StoreError::Cause::SealRefused, {}, {}};
        error.seal = *refused;
        return error;
    }
    return std::move(std::get<SealedFile::Unlocked>(unlocked));
}
