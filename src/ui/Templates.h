#pragma once

#include "platform/DialogTemplate.h"

namespace tandrel {

// The main window (template 102), the About box (template 100) and the
// port-health window (template 103).
const DialogTemplate& MainDialogTemplate();
const DialogTemplate& AboutDialogTemplate();
const DialogTemplate& PortHealthDialogTemplate();

}  // namespace tandrel
