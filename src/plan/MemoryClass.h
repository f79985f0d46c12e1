#pragma once

#include <cstdint>

namespace tandrel {

// The number the library gives for an image item. It picks the item's place
// in the download order and the call that downloads it.
enum class MemoryClass : std::int32_t {
    None = 0,
    PsiBootcore = 1,
    SlbBootcore = 2,
    EblBootcore = 3,
    Code = 4,
    Cust = 5,
    DynEep = 6,
    StatEep = 7,
    SwapBlock = 8,
    SecBlock = 9,
    ExcepLog = 10,
    StatFfs = 11,
    DynFfs = 12,
    DspSw = 13,
    RootDisk = 14,
    CustDisk = 15,
    UserDisk = 16,
    HexExtract = 17,
};

constexpr int kMemoryClassCount = 18;

// Lower goes first. A number outside the table (negative ones too) counts as
// class 0, which goes last.
std::uint8_t ClassPriority(std::int32_t memoryClass);

// The class's display name; empty for class 0 and numbers outside the table.
const char* MemoryClassName(std::int32_t memoryClass);

}  // namespace tandrel
