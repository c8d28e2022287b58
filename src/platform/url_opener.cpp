#include "url_opener.h"

namespace {

// The scheme is what stands before the first ":" when it has the form of one (a letter,
// then letters, digits, "+", "-" and "."); anything else has none.
QString SchemeOf(const QString& url)
{
    const qsizetype colon = url.indexOf(u':');
    if (colon <= 0)
        return {};
    const QString scheme = url.left(colon);
    auto isAsciiLetter = [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    };
    if (!isAsciiLetter(scheme.front()))
        return {};
    for (QChar c : scheme) {
        if (!isAsciiLetter(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && c != u'.')
            return {};
    }
    return scheme.toLower();
}

} // namespace

UrlHandling HandlingOf(const QString& url)
{
    if (url.startsWith(u'-'))
        return UrlHandling::Refuse;
    const QString scheme = SchemeOf(url);
    if (scheme == u"http" || scheme == u"https" || scheme == u"ftp" || scheme == u"mailto")
        return UrlHandling::OpenAtOnce;
    return UrlHandling::AskFirst;
}
