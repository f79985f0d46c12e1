#include "plan/MemoryClass.h"

#include <array>

namespace tandrel {

namespace {

constexpr std::array<const char*, kMemoryClassCount> kNames = {
    "",         "PSI Bootcore", "SLB Bootcore", "EBL Bootcore", "Code",      "Cust",
    "Dyn.EEP",  "Stat.EEP",     "Swap Block",   "SEC Block",    "Excep Log", "Stat.FFS",
    "Dyn.FFS",  "DSP SW",       "Root Disk",    "Cust Disk",    "User Disk", "HEX Extract",
};

// Boot cores first, then code and data, file systems and disks last.
constexpr std::array<std::uint8_t, kMemoryClassCount> kPriorities = {
    255, 0, 1, 2, 3, 9, 4, 5, 10, 11, 12, 8, 7, 6, 13, 14, 15, 255,
};

// Compared as unsigned so that negative numbers fall outside too.
std::size_t TableIndex(std::int32_t memoryClass) {
    const auto n = static_cast<std::uint32_t>(memoryClass);
    return n < kMemoryClassCount ? n : 0;
}

}  // namespace

std::uint8_t ClassPriority(std::int32_t memoryClass) { return kPriorities[TableIndex(memoryClass)]; }

const char* MemoryClassName(std::int32_t memoryClass) { return kNames[TableIndex(memoryClass)]; }

}  // namespace tandrel
