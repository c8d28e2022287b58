#include "sealed_file.h"

#include <QtEndian>
#include <sodium.h>

namespace SealedFile {

namespace {

constexpr int kVersionAt = 8;
constexpr int kKdfAt = 10;
constexpr int kOpsAt = 11;
constexpr int kMemAt = 15;
constexpr int kSaltAt = 19;
constexpr int kNonceAt = 35;
static_assert(kNonceAt + kNonceSize == kHeaderSize);
static_assert(kNonceSize == crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
static_assert(kTagSize == crypto_aead_xchacha20poly1305_ietf_ABYTES);
static_assert(SealKey::kSize == crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
static_assert(kSaltSize == crypto_pwhash_SALTBYTES);

const unsigned char* Bytes(QByteArrayView bytes, int at = 0)
{
    return reinterpret_cast<const unsigned char*>(bytes.data()) + at;
}

bool Within(KdfCost cost)
{
    return cost.opsLimit >= kKdfCostLeast.opsLimit && cost.opsLimit <= kKdfCostMost.opsLimit &&
           cost.memLimitKib >= kKdfCostLeast.memLimitKib &&
           cost.memLimitKib <= kKdfCostMost.memLimitKib;
}

} // namespace

std::variant<Header, Refusal> ReadHeader(QByteArrayView file)
{
    const QByteArrayView magic(kMagic.data(), kMagic.size());
    if (!file.startsWith(magic.first(std::min(magic.size(), file.size()))))
        return Refusal::NotSealed;
    if (file.size() < kHeaderSize + kTagSize)
        return Refusal::Cut;
    Header header;
    header.cost = {qFromLittleEndian<quint32>(file.data() + kOpsAt),
                   qFromLittleEndian<quint32>(file.data() + kMemAt)};
    if (qFromLittleEndian<quint16>(file.data() + kVersionAt) != kVersion ||
        quint8(file[kKdfAt]) != kKdfArgon2id || !Within(header.cost))
        return Refusal::UnknownVersion;
    std::copy_n(Bytes(file, kSaltAt), kSaltSize, header.salt.begin());
    std::copy_n(Bytes(file, kNonceAt), kNonceSize, header.nonce.begin());
    return header;
}

QByteArray HeaderBytes(const Header& header)
{
    QByteArray bytes(kHeaderSize, '\0');
    char* out = bytes.data();
    std::copy(kMagic.begin(), kMagic.end(), out);
    qToLittleEndian<quint16>(kVersion, out + kVersionAt);
    out[kKdfAt] = char(kKdfArgon2id);
    qToLittleEndian<quint32>(header.cost.opsLimit, out + kOpsAt);
    qToLittleEndian<quint32>(header.cost.memLimitKib, out + kMemAt);
    std::copy(header.salt.begin(), header.salt.end(), out + kSaltAt);
    std::copy(header.nonce.begin(), header.nonce.end(), out + kNonceAt);
    return bytes;
}

Header NewHeader()
{
    return Header{kKdfCost, FreshSalt(), {}};
}

QByteArray Seal(const SealKey& key, Header header, QByteArrayView plain)
{
    CryptoReady();
    randombytes_buf(header.nonce.data(), header.nonce.size());
    return SealWithNonce(key, header, plain);
}

QByteArray SealWithNonce(const SealKey& key, const Header& header, QByteArrayView plain)
{
    QByteArray file = HeaderBytes(header);
    file.resize(kHeaderSize + plain.size() + kTagSize);
    unsigned long long sealedSize = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(
        reinterpret_cast<unsigned char*>(file.data()) + kHeaderSize, &sealedSize, Bytes(plain),
        static_cast<unsigned long long>(plain.size()), Bytes(file), kHeaderSize, nullptr,
        header.nonce.data(), key.Bytes());
    return file;
}

std::variant<QByteArray, Refusal> Open(const SealKey& key, QByteArrayView file)
{
    const auto header = ReadHeader(file);
    if (const auto* refused = std::get_if<Refusal>(&header))
        return *refused;
    QByteArray plain(file.size() - kHeaderSize - kTagSize, Qt::Uninitialized);
    unsigned long long plainSize = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            reinterpret_cast<unsigned char*>(plain.data()), &plainSize, nullptr,
            Bytes(file, kHeaderSize), static_cast<unsigned long long>(file.size() - kHeaderSize),
            Bytes(file), kHeaderSize, std::get<Header>(header).nonce.data(), key.Bytes()) != 0)
        return Refusal::NotOpened;
    return plain;
}

std::variant<Unlocked, Refusal> Unlock(QStringView password, QByteArrayView file)
{
    const auto header = ReadHeader(file);
    if (const auto* refused = std::get_if<Refusal>(&header))
        return *refused;
    const Header& read = std::get<Header>(header);
    auto key = DeriveKey(password, read.salt, read.cost);
    if (!key)
        return Refusal::NoMemory;
    auto opened = Open(*key, file);
    if (auto* plain = std::get_if<QByteArray>(&opened))
        return Unlocked{std::move(*key), read, std::move(*plain)};
    return std::get<Refusal>(opened);
}

} // namespace SealedFile
