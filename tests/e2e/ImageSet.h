#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tandrel::e2e {

struct ItemSpec {
    std::string name;
    int memoryClass;
    std::size_t size;
};

// The five items a phone of the demo takes, in the demo's sizes: PSI, SLB,
// Code, EEPROM and DFFS, 30.7 MiB in all.
std::vector<ItemSpec> DemoItems();
// The same five items, small enough for a test to write many phones quickly.
std::vector<ItemSpec> SmallItems();

// Writes a random payload per item and packs it with tandrel-pack into a
// plain image in folder; returns the images' paths in the order given.
std::vector<std::string> PackImages(const std::string& folder, const std::vector<ItemSpec>& items, unsigned seed);
// Packs images into one container file; returns its path.
std::string PackContainer(const std::string& folder, const std::vector<std::string>& images);

std::size_t TotalSize(const std::vector<ItemSpec>& items);

}  // namespace tandrel::e2e
