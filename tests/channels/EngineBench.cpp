#include "EngineBench.h"

namespace tandrel::test {

EngineBench::EngineBench(bool usb)
    : journalFile(open_memstream(&journalText, &journalSize)),
      journal(journalFile, loop),
      display(controls, &journal),
      fake(FakeLibrary::Reset(&loop)),
      library(FakeLibrary::Table()),
      engine(EngineContext{channels, display, loop, library, message, list, queue, paths, bootBlock}) {
    channels.Create();
    channels.OnStateChange([this](int ch, ChannelState s) { journal.State(ch, StateName(s)); });
    for (int n = 1; n <= 8; ++n) display.Label(n).SetBkColor(kWhite);
    SetMode(usb);
}

EngineBench::~EngineBench() {
    std::fclose(journalFile);
    std::free(journalText);
}

void EngineBench::SetMode(bool usb) { controls.SetComboSelection(IDC_DRIVER, usb ? kDriverUsb : kDriverComm); }

void EngineBench::AddItem(int memoryClass, const std::string& path) {
    DownloadItem& item = list.items[list.count++];
    std::snprintf(item.path, sizeof item.path, "%s", path.c_str());
    std::snprintf(item.fileSpec, sizeof item.fileSpec, "|0|%s", path.c_str());
    item.memoryClass = memoryClass;
}

void EngineBench::Event(ChannelEventKind kind, int channel, const std::string& text) {
    engine.HandleChannelEvent(kind, channel, text);
}

std::vector<std::string> EngineBench::Log() const {
    std::vector<std::string> lines;
    for (int i = 0; i < controls.ListCount(IDC_EVENT_LOG); ++i) lines.push_back(controls.ListLine(IDC_EVENT_LOG, i));
    return lines;
}

std::vector<std::string> EngineBench::Journal(const std::string& event) {
    std::fflush(journalFile);
    std::vector<std::string> lines;
    std::string all(journalText, journalSize);
    for (std::size_t start = 0, end; (end = all.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = all.substr(start, end - start);
        if (line.find("\"ev\":\"" + event + "\"") != std::string::npos) lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> EngineBench::StatusHistory(int channel) {
    std::vector<std::string> texts;
    const std::string key = "\"ch\":" + std::to_string(channel) + ",\"text\":\"";
    for (const std::string& line : Journal("status")) {
        const std::size_t at = line.find(key);
        if (at == std::string::npos) continue;
        const std::size_t from = at + key.size();
        texts.push_back(line.substr(from, line.rfind("\"}") - from));
    }
    return texts;
}

}  // namespace tandrel::test
