#pragma once

#include <QString>

// New passwords from the system's secure random source, in printable ASCII that the data
// file and code page 932 hold as they are.
namespace PasswordGenerator {

inline constexpr int kMinLength = 8;
inline constexpr int kMaxLength = 64;

enum class Band { Weak, Fair, Strong, VeryStrong };

struct Options {
    int length = 16; // characters drawn, kMinLength..kMaxLength; joiners come on top
    bool upper = true;
    bool lower = true;
    bool digits = true;
    bool symbols = true;
    bool noLookAlikes = false; // leave out l I 1 O 0
    int groupSize = 0;         // groups of this many joined by "-"; 0 for one run

    friend bool operator==(const Options&, const Options&) = default;
};

// The characters a password with `options` is drawn from; empty when no class is chosen.
// `"` is never among them (the data file refuses it), nor `-` (it splits a copy run).
QString Alphabet(const Options& options);

// A fresh password: every character drawn alike from the alphabet, with at least one of
// each chosen class, then joined into groups. Empty when no class is chosen.
QString Make(const Options& options);

// length × log2 of the alphabet's size; the joiners add nothing.
double StrengthBits(const Options& options);
Band BandOf(double bits);

} // namespace PasswordGenerator
