#include "app/DownloadDialog.h"

namespace tandrel {

void DownloadDialog::OnStop(int channel) { engine.OnStop(channel); }

}  // namespace tandrel
