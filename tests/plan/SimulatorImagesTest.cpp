#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "library/LibraryBinding.h"
#include "plan/PlanStation.h"
#include "platform/posix/DlopenLoader.h"
#include "support/TempFolder.h"

namespace tandrel::test {
namespace {

using Texts = std::vector<std::string>;

class SimulatorImages : public ::testing::Test {
protected:
    // The simulator answers for the images in place of the fake.
    void SetUp() override {
        std::string error;
        ASSERT_NE(LoadLibraryTable(loader, TANDREL_SIM_LIBRARY, station.dialog.libraryTable, error), nullptr) << error;
    }

    // A plain image of the given class around a small payload.
    std::string Image(const std::string& name, MemoryClass memoryClass) {
        const std::string payload = folder / (name + ".raw");
        std::ofstream(payload) << "payload of " << name;
        const std::string image = folder / (name + ".img");
        Pack("image " + image + " --class " + std::to_string(static_cast<int>(memoryClass)) + " --name " + name + " " +
             payload);
        return image;
    }
    std::string Container(const std::string& name, const Texts& images) {
        const std::string container = folder / name;
        std::string args = "container " + container;
        for (const std::string& image : images) args += " " + image;
        Pack(args);
        return container;
    }
    static void Pack(const std::string& args) {
        const std::string command = std::string(TANDREL_PACK_TOOL) + " " + args;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    DlopenLoader loader;
    PlanStation station;
    TempFolder folder;
    const DownloadList& list = station.dialog.downloadList;
};

TEST_F(SimulatorImages, PlainImagesGetTheirClassesFromTheLibraryAndAreOrdered) {
    const std::string code = Image("code", MemoryClass::Code);
    const std::string psi = Image("psi", MemoryClass::PsiBootcore);
    const std::string dffs = Image("dffs", MemoryClass::DynFfs);
    station.Choose(Texts{code, psi, dffs});
    EXPECT_EQ(station.SlotTexts(), (Texts{code, psi, dffs, "", "", "", ""}));

    station.BuildAndSort();
    EXPECT_EQ(station.FileSpecs(), (Texts{"|0|" + psi, "|0|" + code, "|0|" + dffs}));
    EXPECT_EQ(list.items[2].memoryClass, 12);
    EXPECT_EQ(list.FirstItemPath(), psi);
}

TEST_F(SimulatorImages, AContainerShowsItsItemsAndHandsTheirIndexes) {
    const std::string box = Container("box.fls", {Image("cust", MemoryClass::Cust), Image("code", MemoryClass::Code),
                                                  Image("dsp", MemoryClass::DspSw)});
    station.Choose(Texts{box});
    EXPECT_EQ(station.SlotTexts(), (Texts{"cust", "code", "dsp", "", "", "", ""}));
    EXPECT_EQ(station.dialog.imageSlots.usedCount, 3);

    station.BuildAndSort();
    EXPECT_EQ(station.FileSpecs(), (Texts{"|1|" + box, "|2|" + box, "|0|" + box}));
    EXPECT_EQ(list.items[0].memoryClass, 4);
    EXPECT_EQ(list.items[1].memoryClass, 13);
    EXPECT_EQ(list.items[2].memoryClass, 5);
}

TEST_F(SimulatorImages, ABigContainerFillsOnlySevenSlots) {
    Texts images;
    for (int i = 0; i < 9; ++i) images.push_back(Image("part" + std::to_string(i), MemoryClass::Code));
    station.Choose(Texts{Container("big.fls", images)});
    EXPECT_EQ(station.SlotTexts()[6], "part6");
    EXPECT_EQ(station.NewLogLines(), (Texts{"The container holds 9 items; only the first 7 are used."}));
    station.BuildAndSort();
    EXPECT_EQ(list.count, 7);
}

}  // namespace
}  // namespace tandrel::test
