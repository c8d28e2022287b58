#include "cp932_converter.h"

#include <qt_windows.h>

namespace Cp932::Converter {
namespace {

// Always named: the process code page follows the user's settings (and LANG under Wine),
// while the data file is code page 932 wherever it is read.
constexpr UINT kCodePage = 932;

int WideLength(QByteArrayView run)
{
    return ::MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, run.data(),
                                 static_cast<int>(run.size()), nullptr, 0);
}

} // namespace

bool Open()
{
    CPINFO info;
    return ::GetCPInfo(kCodePage, &info) != 0;
}

bool Encode(QStringView run, QByteArray& out)
{
    const auto* wide = reinterpret_cast<const wchar_t*>(run.utf16());
    const int wideLen = static_cast<int>(run.size());
    // Without best fit, a character 932 lacks becomes the default character instead of a
    // look-alike; that it was used is the only sign of the loss.
    BOOL usedDefault = FALSE;
    const int len = ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, wideLen, nullptr,
                                          0, nullptr, &usedDefault);
    if (len <= 0 || usedDefault)
        return false;
    const qsizetype at = out.size();
    out.resize(at + len);
    const int written = ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, wideLen,
                                              out.data() + at, len, nullptr, &usedDefault);
    if (written != len || usedDefault) {
        out.truncate(at);
        return false;
    }
    return true;
}

bool Decode(QByteArrayView run, QString& out, qsizetype& failedAt)
{
    const int len = WideLength(run);
    if (len <= 0) {
        // Windows does not say where: the first character that fails alone is the one.
        failedAt = 0;
        for (qsizetype at = 0; at < run.size();) {
            const qsizetype width =
                IsLeadByte(static_cast<unsigned char>(run[at])) && at + 1 < run.size() ? 2 : 1;
            if (WideLength(run.sliced(at, width)) <= 0) {
                failedAt = at;
                break;
            }
            at += width;
        }
        return false;
    }
    const qsizetype at = out.size();
    out.resize(at + len);
    const int written = ::MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, run.data(),
                                              static_cast<int>(run.size()),
                                              reinterpret_cast<wchar_t*>(out.data() + at), len);
    if (written != len) {
        out.truncate(at);
        failedAt = 0;
        return false;
    }
    return true;
}

} // namespace Cp932::Converter
