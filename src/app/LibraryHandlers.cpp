#include "app/DownloadDialog.h"

namespace tandrel {

// Placeholder until the library binding lands.
void DownloadDialog::RunLibraryStartup() {}
void DownloadDialog::DetachLibrary() {}
void DownloadDialog::OnChannelEvent(WindowMessage&) {}
void DownloadDialog::OnAppendLog(WindowMessage&) {}

}  // namespace tandrel
