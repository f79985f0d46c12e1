// One channel against the target simulator on a real-time window: boot, three
// items and the reset, then the phone's flash checked byte for byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "plan/BuildDownloadList.h"
#include "plan/ImageSelection.h"
#include "plan/SortDownloadList.h"
#include "platform/posix/DlopenLoader.h"
#include "support/Station.h"
#include "support/TempFolder.h"
#include "support/ThreadLoop.h"

namespace tandrel {
namespace {

int RunTool(const std::string& tool, const std::string& args) {
    return std::system((tool + " " + args + " >/dev/null").c_str());
}

class SimulatedPhone : public ::testing::Test {
protected:
    SimulatedPhone() : bench(folder / "bench") {
        EXPECT_EQ(RunTool(TANDREL_BENCH_TOOL, "create " + bench + " --phones 1"), 0);
        EXPECT_EQ(RunTool(TANDREL_BENCH_TOOL, "plug " + bench + " 1"), 0);
        setenv("TANDREL_BENCH", bench.c_str(), 1);
        setenv("TANDREL_SIM_PHONE_RATE", "0", 1);
        options.libraryPath = TANDREL_SIM_LIBRARY;
    }

    // A plain image of memory class around a payload of size bytes.
    std::string Image(const std::string& name, int memoryClass, std::size_t size) {
        const std::string payload = folder / (name + ".raw");
        std::ofstream out(payload, std::ios::binary);
        for (std::size_t i = 0; i < size; ++i) out.put(static_cast<char>((i * 31 + name.size()) & 0xFF));
        out.close();
        const std::string image = folder / (name + ".img");
        EXPECT_EQ(RunTool(TANDREL_PACK_TOOL, "image " + image + " --class " + std::to_string(memoryClass) + " " + payload), 0);
        return image;
    }

    test::TempFolder folder;
    std::string bench;
    Options options;
    DlopenLoader loader;
};

TEST_F(SimulatedPhone, BootsDownloadsThreeItemsResetsAndTheFlashHoldsThem) {
    const std::vector<std::string> images = {Image("code", 4, 300000), Image("psi", 1, 20000),
                                             Image("eep", 7, 40000)};
    test::Station<test::SimulatedWindow<ThreadLoop>> station({options, &loader});
    DownloadDialog& dialog = station.dialog;
    SimulatedControls& controls = station.window.controls;
    ASSERT_TRUE(dialog.OnInitDialog());
    const PlanContext plan{dialog.imageSlots, dialog.downloadList, controls, dialog.libraryTable, dialog.display};
    ChooseImageFiles(plan, images);
    BuildDownloadList(plan);
    SortDownloadList(dialog.downloadList);
    ASSERT_EQ(dialog.downloadList.count, 3);

    std::vector<ChannelState> states;
    dialog.channelTable.OnStateChange([&](int, ChannelState s) { states.push_back(s); });
    ChannelRecord& record = *dialog.channelTable.Record(1);
    record.deviceNumber = 1;
    dialog.engine.HandleChannelEvent(ChannelEventKind::DeviceDetected, 1, "");
    ASSERT_TRUE(station.window.loop.RunUntil([&] { return record.state.load() == ChannelState::WaitUnplug; },
                                             std::chrono::seconds(60)));

    using S = ChannelState;
    EXPECT_EQ(states, (std::vector<S>{S::Booting, S::LoadPsi, S::LoadFls, S::LoadEep, S::WaitPeers, S::Finishing,
                                      S::WaitUnplug}));
    EXPECT_EQ(controls.GetText(StatusLabelId(1)), "Done, Disconnect the phone");
    EXPECT_EQ(dialog.display.Label(1).backgroundColor(), kGreen);
    EXPECT_TRUE(record.succeeded);
    EXPECT_FALSE(record.portOpen);
    EXPECT_EQ(RunTool(TANDREL_BENCH_TOOL, "verify " + bench + " 1 " + images[0] + " " + images[1] + " " + images[2]), 0);
}

}  // namespace
}  // namespace tandrel
