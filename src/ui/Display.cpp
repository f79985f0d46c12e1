#include "ui/Display.h"

#include "ui/ControlIds.h"
#include "ui/Journal.h"

namespace tandrel {

namespace {
constexpr bool IsChannel(int channel) { return channel >= 1 && channel <= kChannelRows; }
}  // namespace

Display::Display(DialogControls& controls, Journal* journal)
    : controls_(controls),
      journal_(journal),
      statusLabels_{StatusLabel(controls, StatusLabelId(1), 1, journal),
                    StatusLabel(controls, StatusLabelId(2), 2, journal),
                    StatusLabel(controls, StatusLabelId(3), 3, journal),
                    StatusLabel(controls, StatusLabelId(4), 4, journal),
                    StatusLabel(controls, StatusLabelId(5), 5, journal),
                    StatusLabel(controls, StatusLabelId(6), 6, journal),
                    StatusLabel(controls, StatusLabelId(7), 7, journal),
                    StatusLabel(controls, StatusLabelId(8), 8, journal)} {}

void Display::SetChannelStatus(int channel, std::string_view text) {
    if (!IsChannel(channel)) return;
    Label(channel).SetText(text);
}

void Display::SetChannelProgress(int channel, int pos) {
    if (!IsChannel(channel)) return;
    controls_.SetProgressPos(ProgressId(channel), pos);
    if (journal_) journal_->Progress(channel, pos);
}

void Display::AppendLog(std::string_view text) {
    controls_.ListAppend(IDC_EVENT_LOG, text);
    controls_.ListSelect(IDC_EVENT_LOG, controls_.ListCount(IDC_EVENT_LOG) - 1);
    if (journal_) journal_->Log(text);
}

void Display::ClearLog() {
    controls_.ListClear(IDC_EVENT_LOG);
    if (journal_) journal_->LogClear();
}

void Display::SetBanner(std::string_view text, bool normal) {
    bannerColour_ = normal ? kBannerBlue : kRed;
    const StaticColours colours = BannerColours(bannerColour_);
    controls_.SetLabelColours(IDC_STATUS_BANNER, colours.text, colours.background);
    controls_.SetText(IDC_STATUS_BANNER, text);
    if (journal_) journal_->Banner(text, normal);
}

void Display::EnableControl(ControlId id, bool on) {
    controls_.Enable(id, on);
    if (journal_) journal_->Enable(id, on);
}

void Display::ShowReadyRows() {
    for (int n = 1; n <= kChannelRows; ++n) Label(n).SetFontSize(13).SetFontBold(1).SetBkColor(kWhite).SetText("READY");
}

StatusLabel& Display::Label(int channel) { return statusLabels_.at(static_cast<std::size_t>(channel - 1)); }

bool Display::IsUsbMode() const { return controls_.GetComboSelection(IDC_DRIVER) == kDriverUsb; }

StaticColours BannerColours(Colour bannerColour) { return StaticColours{bannerColour, kWhite}; }

}  // namespace tandrel
