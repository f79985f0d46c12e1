#include "plan/SortDownloadList.h"

#include <algorithm>
#include <utility>

#include "plan/MemoryClass.h"

namespace tandrel {

void SortDownloadList(DownloadList& list) {
    DownloadItem* items = list.items;
    const int count = std::clamp<int>(list.count, 0, kMaxDownloadItems);
    for (int i = 0; i + 1 < count; ++i) {
        for (int j = i; j < count; ++j) {
            if (ClassPriority(items[i].memoryClass) > ClassPriority(items[j].memoryClass)) {
                std::swap(items[i], items[j]);
            }
        }
    }
}

}  // namespace tandrel
