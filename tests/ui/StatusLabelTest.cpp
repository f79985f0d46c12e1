#include <gtest/gtest.h>

#include <cstring>

#include "support/SimulatedControls.h"
#include "ui/ControlIds.h"
#include "ui/StatusLabel.h"
#include "ui/Templates.h"

namespace tandrel {
namespace {

struct StatusLabelTest : ::testing::Test {
    SimulatedControls controls{MainDialogTemplate()};
    StatusLabel label{controls, StatusLabelId(4), 4};
    const SimulatedControls::Control& Shown() { return controls.At(StatusLabelId(4)); }
};

TEST_F(StatusLabelTest, ANewBackgroundShowsOnlyOnceTheTextIsSet) {
    label.SetBkColor(kGreen);
    EXPECT_EQ(label.backgroundColor(), kGreen);
    EXPECT_EQ(Shown().shownBackground, kButtonFace);
    EXPECT_EQ(Shown().repaints, 0);
    label.SetText("Done, Disconnect the phone");
    EXPECT_EQ(Shown().shownBackground, kGreen);
    EXPECT_EQ(Shown().text, "Done, Disconnect the phone");
}

TEST_F(StatusLabelTest, BoldOffGives400WhateverItWas) {
    label.SetFontBold(1);
    EXPECT_EQ(label.fontDescription().weight, 700);
    label.SetFontBold(0);
    EXPECT_EQ(label.fontDescription().weight, 400);
    label.SetFontBold(5);
    EXPECT_EQ(label.fontDescription().weight, 700);
}

TEST_F(StatusLabelTest, SizeSetsANegativeHeightThatALaterBoldKeeps) {
    const FontDescription before = label.fontDescription();
    label.SetFontSize(13).SetFontBold(1);
    EXPECT_EQ(label.fontDescription().height, -13);
    EXPECT_EQ(label.fontDescription().weight, 700);
    EXPECT_STREQ(label.fontDescription().faceName, before.faceName);
    EXPECT_EQ(label.fontDescription().italic, before.italic);
    EXPECT_EQ(Shown().font.height, -13);
    EXPECT_EQ(Shown().font.weight, 700);
}

TEST_F(StatusLabelTest, AFontChangeRedrawsAtOnce) {
    label.SetBkColor(kRed);
    label.SetFontSize(13);
    EXPECT_EQ(Shown().repaints, 1);
    // The redraw also shows the colour set before it.
    EXPECT_EQ(Shown().shownBackground, kRed);
}

TEST_F(StatusLabelTest, SettersChainOnTheSameLabelAndTheTextColourNeverChanges) {
    StatusLabel& same = label.SetFontSize(13).SetFontBold(1).SetBkColor(kWhite).SetText("READY");
    EXPECT_EQ(&same, &label);
    for (Colour c : {kRowBlue, kGreen, kRed, kWhite}) {
        label.SetBkColor(c).SetText("x");
        EXPECT_EQ(label.textColor(), kWindowText);
        EXPECT_EQ(Shown().shownTextColour, kWindowText);
    }
}

}  // namespace
}  // namespace tandrel
