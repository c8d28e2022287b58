#include "character_name.h"

#include "texts.h"

#include <utility>

namespace Texts {

QString CharacterName(char32_t c)
{
    const QString code = QStringLiteral("(U+%1)").arg(
        QString::number(static_cast<uint>(c), 16).toUpper().rightJustified(4, u'0'));
    if (c == U'\r' || c == U'\n')
        return QStringLiteral("「%1」").arg(LineBreakName) + code;
    if (QChar::isSurrogate(c) || !QChar::isPrint(c))
        return code;
    return QStringLiteral("「%1」").arg(QString::fromUcs4(&c, 1)) + code;
}

std::optional<char32_t> LookAlike(char32_t c)
{
    // Code page 932 encodes each of these as its look-alike, which reads back changed.
    static constexpr std::pair<char32_t, char32_t> kLookAlikes[] = {
        {U'\u301C', U'\uFF5E'}, // WAVE DASH, FULLWIDTH TILDE
        {U'\u2016', U'\u2225'}, // DOUBLE VERTICAL LINE, PARALLEL TO
        {U'\u2212', U'\uFF0D'}, // MINUS SIGN, FULLWIDTH HYPHEN-MINUS
        {U'\u00A2', U'\uFFE0'}, // CENT SIGN, FULLWIDTH CENT SIGN
        {U'\u00A3', U'\uFFE1'}, // POUND SIGN, FULLWIDTH POUND SIGN
        {U'\u00AC', U'\uFFE2'}, // NOT SIGN, FULLWIDTH NOT SIGN
        {U'\u2014', U'\u2015'}, // EM DASH, HORIZONTAL BAR
    };
    for (const auto& [refused, alike] : kLookAlikes)
        if (refused == c)
            return alike;
    return std::nullopt;
}

QString UnstorableMessage(const QString& field, char32_t c)
{
    QString message = UnstorableCharacter.arg(field, CharacterName(c));
    if (const auto alike = LookAlike(c))
        message += u'\n' + UnstorableLookAlike.arg(CharacterName(*alike));
    return message;
}

} // namespace Texts
