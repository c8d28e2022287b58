#include "cp932.h"

#include "cp932_converter.h"

namespace Cp932 {
namespace {

// Windows maps these five single bytes to U+0080 and to private-use code points. glibc's
// converter does not know them, and Windows' own refuses four of them once asked to report
// invalid input; both leave them to this table.
struct SingleByteExtra {
    char byte;
    char16_t unit;
};
constexpr SingleByteExtra kExtras[] = {
    {'\x80', 0x0080}, {'\xA0', 0xF8F0}, {'\xFD', 0xF8F1}, {'\xFE', 0xF8F2}, {'\xFF', 0xF8F3},
};

std::optional<char16_t> ExtraUnitForByte(unsigned char byte)
{
    for (const auto& e : kExtras)
        if (static_cast<unsigned char>(e.byte) == byte)
            return e.unit;
    return std::nullopt;
}

std::optional<char> ExtraByteForUnit(char16_t unit)
{
    for (const auto& e : kExtras)
        if (e.unit == unit)
            return e.byte;
    return std::nullopt;
}

} // namespace

bool Available()
{
    return Converter::Open();
}

std::optional<QByteArray> Encode(QStringView text)
{
    // Without a converter nothing is written, even a text that would need none.
    if (!Available())
        return std::nullopt;
    QByteArray out;
    out.reserve(text.size() * 2);
    qsizetype runStart = 0;
    auto flush = [&](qsizetype end) {
        if (end == runStart)
            return true;
        return Converter::Encode(text.mid(runStart, end - runStart), out);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 0x80) {
            // ASCII is its own byte, a run at a time: most of a data file is ASCII, and the
            // converter is kept for the rest.
            qsizetype end = i + 1;
            while (end < text.size() && text[end].unicode() < 0x80)
                ++end;
            if (!flush(i))
                return std::nullopt;
            out.append(text.sliced(i, end - i).toLatin1());
            runStart = end;
            i = end - 1;
            continue;
        }
        // Code page 932 holds nothing beyond the Basic Multilingual Plane, and a converter
        // may accept a lone surrogate.
        if (QChar::isSurrogate(unit))
            return std::nullopt;
        if (const auto byte = ExtraByteForUnit(unit)) {
            if (!flush(i))
                return std::nullopt;
            out.append(*byte);
            runStart = i + 1;
        }
    }
    if (!flush(text.size()))
        return std::nullopt;
    return out;
}

std::optional<QString> Decode(QByteArrayView bytes, qsizetype* badOffset)
{
    if (!Available())
        return std::nullopt;
    QString text;
    text.reserve(bytes.size());
    qsizetype runStart = 0;
    auto flush = [&](qsizetype end) {
        if (end == runStart)
            return true;
        qsizetype failedAt = 0;
        if (Converter::Decode(bytes.sliced(runStart, end - runStart), text, failedAt))
            return true;
        if (badOffset)
            *badOffset = runStart + failedAt;
        return false;
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (IsLeadByte(b)) {
            ++i; // the trail byte may look like one of the extras; it is not
            continue;
        }
        if (b < 0x80) {
            // A byte below 0x80 that no lead byte claims is ASCII, as is the run it begins.
            qsizetype end = i + 1;
            while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) < 0x80)
                ++end;
            if (!flush(i))
                return std::nullopt;
            text.append(QLatin1StringView(bytes.sliced(i, end - i)));
            runStart = end;
            i = end - 1;
            continue;
        }
        if (const auto unit = ExtraUnitForByte(b)) {
            if (!flush(i))
                return std::nullopt;
            text.append(QChar(*unit));
            runStart = i + 1;
        }
    }
    if (!flush(bytes.size()))
        return std::nullopt;
    return text;
}

std::optional<char32_t> FirstUnfaithful(QStringView text)
{
    auto survives = [](QStringView piece) {
        const auto bytes = Encode(piece);
        if (!bytes)
            return false;
        const auto back = Decode(*bytes);
        return back && *back == piece;
    };
    if (survives(text))
        return std::nullopt;
    // Rare path: find the culprit one code point at a time.
    for (qsizetype at = 0; at < text.size();) {
        const char16_t unit = text[at].unicode();
        const bool pair = QChar::isHighSurrogate(unit) && at + 1 < text.size() &&
                          QChar::isLowSurrogate(text[at + 1].unicode());
        const qsizetype len = pair ? 2 : 1;
        if (!survives(text.mid(at, len)))
            return pair ? QChar::surrogateToUcs4(unit, text[at + 1].unicode()) : char32_t(unit);
        at += len;
    }
    return std::nullopt;
}

} // namespace Cp932
