#pragma once

#include <QFont>

#include "platform/FontDescription.h"

namespace tandrel {

// The toolkit's font for a logical font description: a negative height is the
// character height in pixels, a positive one the height of the whole cell; a
// width other than 0 is the average character width, reached by stretching.
QFont ToQFont(const FontDescription& description);

}  // namespace tandrel
