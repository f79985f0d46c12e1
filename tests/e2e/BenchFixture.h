#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ImageSet.h"
#include "Programs.h"
#include "VirtualBench.h"
#include "support/TempFolder.h"

namespace tandrel::e2e {

// A phone with this fault takes seconds over its Code item, long enough to
// be caught in the middle of it; the other phones' links are unthrottled.
constexpr const char* kSlowLink = "rate=32K";

// A bench of phones and the five small items, packed both as plain images
// and as one container. Links and bus run without a limit.
class BenchTest : public ::testing::Test {
protected:
    explicit BenchTest(int phones = 8)
        : bench(folder / "bench", phones),
          images(PackImages(folder.Path(), SmallItems(), 2010)),
          container(PackContainer(folder.Path(), images)) {
        setenv("TANDREL_SIM_PHONE_RATE", "0", 1);
        setenv("TANDREL_SIM_BUS_RATE", "0", 1);
        // The station's own files (its image snapshots) stay out of the real home.
        setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    }

    void PlugPhones(std::initializer_list<int> phones) {
        for (int n : phones) bench.Plug(n);
    }

    test::TempFolder folder;
    VirtualBench bench;
    std::vector<std::string> images;
    std::string container;
};

}  // namespace tandrel::e2e
