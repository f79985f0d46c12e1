#include "qt/AppIcon.h"

// Resources of a static library are only linked in when asked for by name,
// and the macro must stand outside any namespace.
static void LoadTandrelResources() { Q_INIT_RESOURCE(resources); }

namespace tandrel {

QIcon AppIcon() {
    static const bool loaded = (LoadTandrelResources(), true);
    (void)loaded;
    return QIcon(QStringLiteral(":/tandrel/tandrel.png"));
}

}  // namespace tandrel
