#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tandrel::sim {

// Writes a plain image of payload with the given class and name. False with
// the reason when an input cannot be read or the output cannot be written;
// OUT is then left as it was.
bool PackImage(const std::string& out, std::int32_t memoryClass, const std::string& name, const std::string& payload,
               std::string& error);
// Writes a container holding the plain images' payloads under their own
// names and classes, checking each payload against its checksum.
bool PackContainer(const std::string& out, const std::vector<std::string>& images, std::string& error);
// The table of contents as lines "index name class size".
bool ListImage(const std::string& path, std::string& listing, std::string& error);

}  // namespace tandrel::sim
