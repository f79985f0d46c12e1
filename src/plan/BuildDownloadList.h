#pragma once

#include "plan/PlanContext.h"

namespace tandrel {

// Makes the list afresh from the used slots whose check box is checked
// (state exactly 1), in slot order: one item per slot, its memory class asked
// of the library. Call after the path fields have been read into the stored
// texts. When a checked slot's path does not fit an item's 500-byte fileSpec
// ("|index|path") the list is left empty and the EventLog names the file: no
// phone may get only part of the images, nor a file other than the one named.
void BuildDownloadList(PlanContext plan);

}  // namespace tandrel
