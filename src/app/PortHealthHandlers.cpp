#include "app/DownloadDialog.h"
#include "ui/ControlIds.h"
#include "ui/Templates.h"

namespace tandrel {

// The window shows each port's line as the watch has it now; "Cleared"
// makes that port count afresh.
void DownloadDialog::OnPortHealth() {
    const auto texts = [this] {
        DialogControls::DialogTexts lines;
        const std::vector<std::string> text = portWatch.Lines();
        for (int port = 1; port <= static_cast<int>(text.size()); ++port) {
            lines.emplace_back(PortHealthLineId(port), text[static_cast<std::size_t>(port - 1)]);
        }
        return lines;
    };
    controls.ShowSmallDialog(PortHealthDialogTemplate(), texts, [this](ControlId id) {
        if (const int port = PortOfClearedButton(id)) portWatch.Clear(port);
    });
}

}  // namespace tandrel
