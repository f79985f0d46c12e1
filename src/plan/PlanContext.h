#pragma once

#include "library/LibraryTable.h"
#include "plan/DownloadList.h"
#include "plan/ImageSlotSet.h"
#include "platform/DialogControls.h"
#include "ui/Display.h"

namespace tandrel {

// What choosing images and building the download list work on; all of it
// belongs to the main window. The library is only asked about image files
// here, on the window thread; a null entry point is never called.
struct PlanContext {
    ImageSlotSet& slots;
    DownloadList& list;
    DialogControls& controls;
    const LibraryTable& library;
    Display& display;
};

}  // namespace tandrel
