#pragma once

#include <QString>

namespace Texts {

// A character as a message names it: "「x」(U+XXXX)", a line break by name, and only the
// code point for what cannot be shown on its own (a lone surrogate, a control character).
QString CharacterName(char32_t c);

} // namespace Texts
