#include "cp932_converter.h"

#include <cerrno>
#include <iconv.h>

namespace Cp932::Converter {
namespace {

// One iconv descriptor per direction for the life of the program; opening one costs more
// than converting a whole data file.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (Open())
            iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool Open() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in`, appending to `out`. False on any invalid or unmappable
    // input; `failedAt` then receives the offset into `in` where conversion stopped.
    bool Run(const char* in, size_t inLen, QByteArray& out, size_t& failedAt)
    {
        if (!Open())
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
                failedAt = static_cast<size_t>(src - in);
                return false;
            }
            // A positive count means characters were converted irreversibly (substituted).
            if (r != static_cast<size_t>(-1) && r > 0) {
                failedAt = static_cast<size_t>(src - in);
                return false;
            }
        }
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
        out.append(buffer, static_cast<qsizetype>(dst - buffer));
        return true;
    }

private:
    iconv_t cd_;
};

Iconv& ToCp932()
{
    static Iconv c("CP932", "UTF-16LE");
    return c;
}

Iconv& FromCp932()
{
    static Iconv c("UTF-16LE", "CP932");
    return c;
}

} // namespace

bool Open()
{
    return ToCp932().Open() && FromCp932().Open();
}

bool Encode(QStringView run, QByteArray& out)
{
    size_t failedAt = 0;
    return ToCp932().Run(reinterpret_cast<const char*>(run.utf16()),
                         static_cast<size_t>(run.size()) * 2, out, failedAt);
}

bool Decode(QByteArrayView run, QString& out, qsizetype& failedAt)
{
    QByteArray utf16;
    utf16.reserve(run.size() * 2);
    size_t stoppedAt = 0;
    const bool ok = FromCp932().Run(run.data(), static_cast<size_t>(run.size()), utf16, stoppedAt);
    if (!ok) {
        failedAt = static_cast<qsizetype>(stoppedAt);
        return false;
    }
    out.append(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
    return true;
}

} // namespace Cp932::Converter
