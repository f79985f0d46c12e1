#pragma once

#include "platform/DialogTemplate.h"

namespace tandrel {

// The main window (template 102) and the About box (template 100).
const DialogTemplate& MainDialogTemplate();
const DialogTemplate& AboutDialogTemplate();

}  // namespace tandrel
