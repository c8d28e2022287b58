#include "character_name.h"

#include "texts.h"

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

} // namespace Texts
