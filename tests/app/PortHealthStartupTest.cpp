#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "results/ResultStore.h"
#include "support/Station.h"

namespace tandrel {
namespace {

// A station starts on a store an earlier one left: each port counts on from
// its last clear, and a port flagged then and never cleared is shown again.
TEST(PortHealthAtStartUp, EachPortCountsOnFromTheStoreAndAPortStillFlaggedIsAmberAgain) {
    const test::TempFolder folder;
    const std::string path = folder / "results.db";
    {
        std::string error;
        auto store = ResultStore::Open(path, true, error);
        ASSERT_TRUE(store) << error;
        const int ports[] = {3, 2, 3, 3};
        for (int i = 0; i < 4; ++i) {
            ResultRecord r;
            r.uuid = NewUuid();
            r.station = "line-1";
            r.mode = "USB";
            r.channel = r.device = ports[i];
            r.stationVersion = "1";
            r.resultMs = 1000 + i;
            ASSERT_TRUE(store->AddResult(r, error)) << error;
        }
        ASSERT_TRUE(store->AddClear(PortClear{2, 2000}, error)) << error;
    }
    test::StationSetup setup;
    setup.options.results = path;
    test::Station<> s(std::move(setup));
    s.dialog.OnInitDialog();

    const PortWatch& watch = s.dialog.portWatch;
    EXPECT_EQ(watch.Health().Figures(3).inRow, 3);
    EXPECT_TRUE(watch.Health().Flag(3).flagged);
    EXPECT_EQ(watch.Health().Figures(2).phones, 0);
    EXPECT_EQ(watch.Health().ClearedAt(2), 2000);
    const auto& row = s.window.controls.At(StatusLabelId(3));
    EXPECT_EQ(row.shownBackground, kAmber);
    EXPECT_EQ(row.text, "READY");
    const std::vector<std::string> log = s.Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Port 3: 3 failures in a row \u2014 check the cable and the hub port"), 1);
    EXPECT_EQ(s.window.controls.At(StatusLabelId(2)).shownBackground, kWhite);
}

}  // namespace
}  // namespace tandrel
