#include "cp932.h"

#include <cerrno>
#include <iconv.h>

namespace Cp932 {
namespace {

// glibc's converter knows every mapping of Windows code page 932 except these five
// single bytes, which Windows maps to U+0080 and to private-use code points.
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

bool IsLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// One converter per direction for the life of the program; opening one costs more
// than converting a whole data file.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of `in`, appending to `out`. False on any invalid or unmappable
    // input; `failedAt` then receives the offset into `in` where conversion stopped.
    bool Run(const char* in, size_t inLen, QByteArray& out, size_t* failedAt = nullptr)
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        auto* src = const_cast<char*>(in);
        size_t srcLeft = inLen;
        char buffer[4096];
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<qsizetype>(dst - buffer));
            if (r == static_cast<size_t>(-1) && errno != E2BIG) {
                if (failedAt)
                    *failedAt = static_cast<size_t>(src - in);
                return false;
            }
            // A positive count means characters were converted irreversibly (substituted).
            if (r != static_cast<size_t>(-1) && r > 0) {
                if (failedAt)
                    *failedAt = static_cast<size_t>(src - in);
                return false;
            }
        }
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
        out.append(buffer, static_cast<qsizetype>(dst - buffer));
        return true;
    }

    bool Open() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

private:
    iconv_t cd_;
};

Converter& ToCp932()
{
    static Converter c("CP932", "UTF-16LE");
    return c;
}

Converter& FromCp932()
{
    static Converter c("UTF-16LE", "CP932");
    return c;
}

QString FromUtf16Le(const QByteArray& bytes)
{
    return QString(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2);
}

} // namespace

bool Available()
{
    return ToCp932().Open() && FromCp932().Open();
}

std::optional<QByteArray> Encode(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    qsizetype runStart = 0;
    auto flush = [&](qsizetype end) {
        if (end == runStart)
            return true;
        const QStringView run = text.mid(runStart, end - runStart);
        return ToCp932().Run(reinterpret_cast<const char*>(run.utf16()),
                             static_cast<size_t>(run.size()) * 2, out);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        // Code page 932 holds nothing beyond the Basic Multilingual Plane, and iconv would
        // accept a lone surrogate in some builds.
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
    QByteArray utf16;
    utf16.reserve(bytes.size() * 2);
    qsizetype runStart = 0;
    auto flush = [&](qsizetype end) {
        if (end == runStart)
            return true;
        size_t failedAt = 0;
        if (FromCp932().Run(bytes.data() + runStart, static_cast<size_t>(end - runStart), utf16,
                            &failedAt))
            return true;
        if (badOffset)
            *badOffset = runStart + static_cast<qsizetype>(failedAt);
        return false;
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (IsLeadByte(b)) {
            ++i; // the trail byte may look like one of the extras; it is not
            continue;
        }
        if (const auto unit = ExtraUnitForByte(b)) {
            if (!flush(i))
                return std::nullopt;
            utf16.append(static_cast<char>(*unit & 0xFF));
            utf16.append(static_cast<char>(*unit >> 8));
            runStart = i + 1;
        }
    }
    if (!flush(bytes.size()))
        return std::nullopt;
    return FromUtf16Le(utf16);
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
