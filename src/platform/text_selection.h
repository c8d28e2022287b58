#pragma once

class QLineEdit;

namespace TextSelection {

// Selects the first occurrence of `character` in `box`: a character outside the basic plane
// as its whole pair, a lone surrogate as itself. A refused character is often invisible (a
// pasted line break) or looks like an allowed one, so the user is shown where it is.
void SelectCharacter(QLineEdit* box, char32_t character);

} // namespace TextSelection
