#pragma once

#include <QString>
#include <optional>

namespace Texts {

// A character as a message names it: "「x」(U+XXXX)", a line break by name, and only the
// code point for what cannot be shown on its own (a lone surrogate, a control character).
QString CharacterName(char32_t c);

// The character of code page 932 that looks like `c`, for a `c` the data file cannot hold;
// nullopt when there is none. Input methods type some of these, and the user cannot tell
// them apart by looking.
std::optional<char32_t> LookAlike(char32_t c);

// The refusal of a text typed into `field`: the refused character by name, and the look-alike
// that can be stored, if any. Only named: the user decides what to type instead.
QString UnstorableMessage(const QString& field, char32_t c);

} // namespace Texts
