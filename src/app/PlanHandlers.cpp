#include "app/DownloadDialog.h"

namespace tandrel {

// Placeholder until the download plan lands.
void DownloadDialog::OnOpenFile() {}
void DownloadDialog::OnSlotCheckClicked(int) {}
void DownloadDialog::ApplyStartupImages() {}

}  // namespace tandrel
