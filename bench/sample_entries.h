#pragma once

#include "store/entry.h"

// A list of `count` entries shaped like a real user's: a group heading every ten entries,
// Japanese and Latin titles, e-mail IDs, passwords with dashes, URLs with paths.
// The same count always gives the same texts.
Entries SampleEntries(int count);
