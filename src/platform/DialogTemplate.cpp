#include "platform/DialogTemplate.h"

namespace tandrel {

const ControlTemplate* DialogTemplate::Find(ControlId controlId) const {
    for (const auto& c : controls) {
        if (c.id == controlId && controlId != kNoId) return &c;
    }
    return nullptr;
}

}  // namespace tandrel
