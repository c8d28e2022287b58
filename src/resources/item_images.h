#pragma once

#include "item_image.h"

#include <QIcon>

// Images drawn in code at their native sizes, so they stay crisp and need no files.
namespace ItemImages {
QIcon Icon(ItemImage image);
}

namespace WindowIcons {
QIcon Main(); // a strongbox with a gold lock
QIcon Sort(); // a list with up and down arrows
} // namespace WindowIcons
