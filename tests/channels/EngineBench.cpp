#include "EngineBench.h"

#include <cstdio>

namespace tandrel::test {

EngineBench::EngineBench(bool usb) {
    dialog.OnInitDialog();
    library = FakeLibrary::Table();
    dialog.display.ClearLog();  // what start-up said about loading the library
    SetMode(usb);
}

void EngineBench::AddItem(int memoryClass, const std::string& path) {
    DownloadItem& item = dialog.downloadList.items[dialog.downloadList.count++];
    std::snprintf(item.path, sizeof item.path, "%s", path.c_str());
    std::snprintf(item.fileSpec, sizeof item.fileSpec, "|0|%s", path.c_str());
    item.memoryClass = memoryClass;
}

std::vector<std::string> EngineBench::StatusHistory(int n) {
    std::vector<std::string> texts;
    const std::string all = JournalText();
    const std::string key = "\"ev\":\"status\",\"ch\":" + std::to_string(n) + ",\"text\":\"";
    for (std::size_t at = all.find(key); at != std::string::npos; at = all.find(key, at + 1)) {
        const std::size_t from = at + key.size();
        texts.push_back(all.substr(from, all.find("\"}", from) - from));
    }
    return texts;
}

}  // namespace tandrel::test
