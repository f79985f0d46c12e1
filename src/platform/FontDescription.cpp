#include "platform/FontDescription.h"

namespace tandrel {

FontDescription DefaultGuiFont() { return FontDescription{}; }

}  // namespace tandrel
