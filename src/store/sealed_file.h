#pragma once

#include "seal_key.h"

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <variant>

// The encrypted data file's bytes, without any file access. Byte by byte (numbers
// little-endian):
//   0  8  magic 89 43 46 45 4E 43 0D 0A ("\x89CFENC\r\n": a text tool's line-end or
//         8-bit changes show at once)
//   8  2  format version, 1
//  10  1  key derivation: 1 = Argon2id (version 1.3)
//  11  4  its operations limit
//  15  4  its memory limit in KiB
//  19 16  salt
//  35 24  nonce, fresh at every save
//  59     the data file's bytes sealed with XChaCha20-Poly1305 under the derived key, the
//         59 header bytes as associated data, then the 16-byte tag
namespace SealedFile {

inline constexpr std::array<char, 8> kMagic{'\x89', 'C', 'F', 'E', 'N', 'C', '\r', '\n'};
inline constexpr quint16 kVersion = 1;
inline constexpr quint8 kKdfArgon2id = 1;
inline constexpr int kNonceSize = 24;
inline constexpr int kHeaderSize = 59;
inline constexpr int kTagSize = 16;
using Nonce = std::array<unsigned char, kNonceSize>;

struct Header {
    KdfCost cost = kKdfCost;
    Salt salt{};
    Nonce nonce{};
};

// Why a file could not be opened.
enum class Refusal {
    NotSealed,      // does not begin as an encrypted data file
    Cut,            // ends before its header and tag
    UnknownVersion, // a format version or key derivation this program does not know
    NotOpened,      // the seal does not open: a wrong password, or changed bytes
    NoMemory,       // the memory the key derivation asks for cannot be had
};

// The header of `file`, or why it is not one this program can open.
std::variant<Header, Refusal> ReadHeader(QByteArrayView file);

// The header as its 59 bytes.
QByteArray HeaderBytes(const Header& header);

// A header for a new password: the current cost, a fresh salt.
Header NewHeader();

// The whole file: `header` with a fresh nonce, then `plain` sealed under `key`, which was
// derived with the header's salt and cost.
QByteArray Seal(const SealKey& key, Header header, QByteArrayView plain);

// As Seal, with the nonce in `header` as it is: for known answers only, since a nonce
// must never seal twice under one key.
QByteArray SealWithNonce(const SealKey& key, const Header& header, QByteArrayView plain);

// The plain bytes sealed in `file` under `key`.
std::variant<QByteArray, Refusal> Open(const SealKey& key, QByteArrayView file);

// An unlocked file: the key, kept for the next saves; the header the file had, whose salt
// and cost go with that key; the plain bytes.
struct Unlocked {
    SealKey key;
    Header header;
    QByteArray plain;
};

// Derives the key for `password` with the file's own salt and cost, and opens the file.
std::variant<Unlocked, Refusal> Unlock(QStringView password, QByteArrayView file);

} // namespace SealedFile
