#pragma once

#include <QStringView>
#include <QtGlobal>
#include <array>
#include <optional>

// What turns a password into the key of the encrypted data file: Argon2id with the cost
// written into each file's header, so that a later version can raise it and still open
// older files.
struct KdfCost {
    quint32 opsLimit = 0;
    quint32 memLimitKib = 0;
    friend bool operator==(const KdfCost&, const KdfCost&) = default;
};

// The cost new files get: 128 MiB and five passes take about half a second on a
// two-core machine (bench/ prints the unlock time); the derivation runs on one core.
inline constexpr KdfCost kKdfCost{5, 128 * 1024};

// What a file's header may ask for and still be tried: beyond these a damaged or hostile
// header would have the program spend minutes or gigabytes before it can say no.
inline constexpr KdfCost kKdfCostLeast{1, 8};
inline constexpr KdfCost kKdfCostMost{16, 4 * 1024 * 1024};

inline constexpr int kSaltSize = 16;
using Salt = std::array<unsigned char, kSaltSize>;

// The key, 32 bytes in memory of its own (guard pages around it, kept out of swap where
// the system allows it, wiped when it is given back). Moves, never copies.
class SealKey {
public:
    static constexpr int kSize = 32;

    SealKey() = default;
    SealKey(SealKey&& other) noexcept;
    SealKey& operator=(SealKey&& other) noexcept;
    SealKey(const SealKey&) = delete;
    SealKey& operator=(const SealKey&) = delete;
    ~SealKey();

    // A key given as its bytes (a known key); nullopt when no guarded memory is left.
    static std::optional<SealKey> FromBytes(const std::array<unsigned char, kSize>& bytes);

    // The same key in guarded memory of its own (none when this one is wiped or no guarded
    // memory is left): for a copy of what holds it, never for a copy of the bytes elsewhere.
    SealKey Duplicate() const;

    // Wipes and gives back the memory: the lock and the end.
    void Wipe();
    bool IsSet() const { return bytes_ != nullptr; }
    const unsigned char* Bytes() const { return bytes_; }

private:
    explicit SealKey(unsigned char* bytes) : bytes_(bytes) {}
    static unsigned char* Allocate();
    unsigned char* bytes_ = nullptr;

    friend std::optional<SealKey> DeriveKey(QStringView, const Salt&, KdfCost);
};

// False when the library cannot start (no source of random numbers); nothing can be sealed.
bool CryptoReady();

// A salt of random bytes from the system (the library ends the program rather than give
// anything less).
Salt FreshSalt();

// The key for `password` (its UTF-8 bytes, wiped after) with `salt` and `cost`; nullopt
// when the memory the cost asks for cannot be had. The password is not kept.
std::optional<SealKey> DeriveKey(QStringView password, const Salt& salt, KdfCost cost);
