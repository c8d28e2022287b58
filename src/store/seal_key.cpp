#include "seal_key.h"

#include <QByteArray>
#include <sodium.h>
#include <utility>

bool CryptoReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

SealKey::SealKey(SealKey&& other) noexcept : bytes_(std::exchange(other.bytes_, nullptr))
{
}

SealKey& SealKey::operator=(SealKey&& other) noexcept
{
    if (this != &other) {
        Wipe();
        bytes_ = std::exchange(other.bytes_, nullptr);
    }
    return *this;
}

SealKey::~SealKey()
{
    Wipe();
}

void SealKey::Wipe()
{
    // sodium_free wipes before it gives the pages back.
    if (bytes_)
        sodium_free(std::exchange(bytes_, nullptr));
}

unsigned char* SealKey::Allocate()
{
    if (!CryptoReady())
        return nullptr;
    return static_cast<unsigned char*>(sodium_malloc(kSize));
}

std::optional<SealKey> SealKey::FromBytes(const std::array<unsigned char, kSize>& bytes)
{
    unsigned char* memory = Allocate();
    if (!memory)
        return std::nullopt;
    std::copy(bytes.begin(), bytes.end(), memory);
    return SealKey(memory);
}

SealKey SealKey::Duplicate() const
{
    unsigned char* memory = bytes_ ? Allocate() : nullptr;
    if (memory)
        std::copy(bytes_, bytes_ + kSize, memory);
    return SealKey(memory);
}

Salt FreshSalt()
{
    Salt salt{};
    CryptoReady();
    randombytes_buf(salt.data(), salt.size());
    return salt;
}

std::optional<SealKey> DeriveKey(QStringView password, const Salt& salt, KdfCost cost)
{
    unsigned char* memory = SealKey::Allocate();
    if (!memory)
        return std::nullopt;
    SealKey key(memory);
    QByteArray utf8 = password.toUtf8();
    const int failed =
        crypto_pwhash(memory, SealKey::kSize, utf8.constData(),
                      static_cast<unsigned long long>(utf8.size()), salt.data(), cost.opsLimit,
                      static_cast<size_t>(cost.memLimitKib) * 1024, crypto_pwhash_ALG_ARGON2ID13);
    sodium_memzero(utf8.data(), static_cast<size_t>(utf8.size()));
    if (failed)
        return std::nullopt;
    return key;
}
