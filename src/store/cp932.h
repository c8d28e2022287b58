#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Code page 932 as Windows defines it. Both directions fail rather than substitute:
// a caller that gets nullopt must not write or show anything made from the input.
namespace Cp932 {

// False when the system has no code page 932 converter (glibc's gconv modules missing):
// nothing can then be read or written, and callers say so rather than blame the data.
bool Available();

// The bytes of `text`, or nullopt when some character has no code page 932 encoding.
std::optional<QByteArray> Encode(QStringView text);

// The text of `bytes`, or nullopt when they are not a valid code page 932 sequence.
// On failure `badOffset` (if given) receives the offset of the first offending byte.
std::optional<QString> Decode(QByteArrayView bytes, qsizetype* badOffset = nullptr);

// The first code point of `text` that would not come back unchanged from a trip through
// code page 932 (unencodable, or encoded to bytes that decode to another character),
// or nullopt when the whole text survives the trip.
std::optional<char32_t> FirstUnfaithful(QStringView text);

} // namespace Cp932
