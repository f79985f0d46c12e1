#pragma once

#include "plan/DownloadList.h"

namespace tandrel {

// Puts the items into download order by class priority, lowest first, with
// an exchange sort on whole items: position i is swapped with every later
// item of strictly lower priority. Equal priorities are never swapped with
// each other, but their relative order is not kept either.
void SortDownloadList(DownloadList& list);

}  // namespace tandrel
