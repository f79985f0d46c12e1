#include "channels/ArmedList.h"

#include <algorithm>

#include "platform/FixedText.h"

namespace tandrel {

int ArmedList::Count() const { return std::clamp<int>(list.count, 0, kMaxDownloadItems); }

std::vector<std::string> ArmedList::FileSpecs(int n) const {
    std::vector<std::string> specs;
    for (int i = 0; i < std::min(n, Count()); ++i) specs.emplace_back(BoundedText(Item(i).fileSpec));
    return specs;
}

std::shared_ptr<const ArmedList> ArmWith(const DownloadList& list, std::shared_ptr<const ImageSnapshot> images) {
    return std::make_shared<const ArmedList>(ArmedList{list, std::move(images)});
}

}  // namespace tandrel
