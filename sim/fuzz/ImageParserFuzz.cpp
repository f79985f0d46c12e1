// Feeds arbitrary bytes to the image parser: it must never read outside the
// buffer, and whatever it accepts must be internally consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/ImageParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tandrel::sim::MemorySource source(data, size);
    std::string error;
    std::optional<tandrel::sim::ImageToc> toc = tandrel::sim::ParseImage(source, error);
    if (!toc) return 0;
    for (const tandrel::sim::ImageItem& item : toc->items) {
        if (item.offset > size || item.length > size - item.offset || item.name.empty()) std::abort();
    }
    return 0;
}
