#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "platform/Colour.h"
#include "platform/DialogControls.h"
#include "ui/ControlIds.h"
#include "ui/StatusLabel.h"

namespace tandrel {

class Journal;

// The window's display operations: a channel's row text and progress, the
// EventLog, the StatusBanner, and which controls are usable. Every visible
// change also goes to the journal when there is one.
class Display {
public:
    explicit Display(DialogControls& controls, Journal* journal = nullptr);

    // Channel 1..8; any other number changes nothing.
    void SetChannelStatus(int channel, std::string_view text);
    void SetChannelProgress(int channel, int pos);

    // Adds a line at the end and selects it, which scrolls it into view.
    void AppendLog(std::string_view text);
    void ClearLog();

    // Blue text when normal, red otherwise; the colour is in place before the
    // text is set, so the repaint that follows shows both.
    void SetBanner(std::string_view text, bool normal);

    void EnableControl(ControlId id, bool on);

    // Every status row as a fresh window shows it: "READY", bold, on white.
    void ShowReadyRows();

    // The status row of channel 1..8 (statusLabels entry channel - 1).
    StatusLabel& Label(int channel);

    // "USB" is entry 1 of the sorted "Driver" box; anything else is COMM.
    bool IsUsbMode() const;

    Colour bannerColour() const { return bannerColour_; }
    DialogControls& Controls() { return controls_; }
    Journal* GetJournal() { return journal_; }

private:
    DialogControls& controls_;
    Journal* journal_;
    std::array<StatusLabel, kChannelRows> statusLabels_;
    Colour bannerColour_ = kBannerBlue;
};

// Colours the banner's text is drawn with: the banner colour on white cells.
struct StaticColours {
    Colour text;
    Colour background;
};
StaticColours BannerColours(Colour bannerColour);

}  // namespace tandrel
