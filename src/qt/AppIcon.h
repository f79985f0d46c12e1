#pragma once

#include <QIcon>

namespace tandrel {

// The program's own icon, shipped in its resources.
QIcon AppIcon();

}  // namespace tandrel
