#include "app/DownloadDialog.h"

namespace tandrel {

// Placeholder until run control lands.
void DownloadDialog::OnTimer(int) {}
void DownloadDialog::OnStart() {}
void DownloadDialog::OnReset() {}

}  // namespace tandrel
