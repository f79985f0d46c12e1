#pragma once

#include <string>
#include <vector>

#include "plan/PlanContext.h"

namespace tandrel {

// Takes the files the operator chose into the image slots. The first file
// decides: a container (more than one item) replaces the whole selection
// with its items and the rest are ignored; otherwise every file is a plain
// image appended after the used slots, and those that find no free slot are
// dropped. The path fields show the result at the window's next refresh.
void ChooseImageFiles(PlanContext plan, const std::vector<std::string>& paths);

}  // namespace tandrel
