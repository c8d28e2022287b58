#pragma once

#include <QByteArray>
#include <QString>

namespace Cp932 {

// A byte that begins a two-byte character.
inline bool IsLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

} // namespace Cp932

// The system's own code page 932 converter, one run of text at a time. The five single
// bytes it may not know are handled around it (cp932.cpp); each run here has none of them.
namespace Cp932::Converter {

bool Open();

// Appends the bytes of `run` to `out`. False when some character has no exact encoding:
// a substitute, a best fit or a default character is a failure, never data.
bool Encode(QStringView run, QByteArray& out);

// Appends the text of `run` to `out`. False on any byte that is not code page 932;
// `failedAt` then receives its offset in `run`.
bool Decode(QByteArrayView run, QString& out, qsizetype& failedAt);

} // namespace Cp932::Converter
