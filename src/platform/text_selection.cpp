#include "text_selection.h"

#include <QLineEdit>

namespace TextSelection {

void SelectCharacter(QLineEdit* box, char32_t character)
{
    const QString text = box->text();
    for (qsizetype at = 0; at < text.size();) {
        const bool pair =
            text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
        const char32_t here =
            pair ? QChar::surrogateToUcs4(text[at], text[at + 1]) : text[at].unicode();
        const qsizetype length = pair ? 2 : 1;
        if (here == character) {
            box->setSelection(at, length);
            return;
        }
        at += length;
    }
}

} // namespace TextSelection
