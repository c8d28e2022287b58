// Must not compile: the platform layer knows nothing of the store.
#include "resources/texts.h"
#include "store/entry.h"
