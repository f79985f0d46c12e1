#include "Verify.h"

#include <algorithm>
#include <optional>

#include "common/AtomicFiles.h"
#include "common/File.h"
#include "common/ImageParser.h"
#include "common/Manifest.h"

namespace tandrel::sim {
namespace {

struct Expected {
    std::string image;
    ImageItem item;
};

bool CollectExpected(const std::vector<std::string>& images, std::vector<Expected>& expected, std::string& report) {
    bool ok = true;
    for (const std::string& path : images) {
        std::string error;
        File file = File::OpenRead(path, error);
        std::optional<ImageToc> toc;
        if (file.IsOpen()) {
            FileSource source(file);
            toc = ParseImage(source, error);
        }
        if (!toc) {
            report += path + ": " + error + "\n";
            ok = false;
            continue;
        }
        for (const ImageItem& item : toc->items) expected.push_back({path, item});
    }
    return ok;
}

std::string CompareItem(const Expected& want, const FlashEntry& entry, const std::string& flashDir) {
    std::string label = "item " + want.item.name + " (" + want.image + "): ";
    std::string error;
    File image = File::OpenRead(want.image, error);
    File flashed = File::OpenRead(flashDir + "/" + entry.file, error);
    if (!image.IsOpen() || !flashed.IsOpen()) return label + error;
    Digest imageDigest{}, flashDigest{};
    if (!HashRange(image, want.item.offset, want.item.length, imageDigest) || imageDigest != want.item.checksum) {
        return label + "the image itself is damaged (payload does not match its checksum)";
    }
    if (flashed.Size() != want.item.length || entry.size != want.item.length) {
        return label + "flash holds " + std::to_string(flashed.Size()) + " bytes, the image " +
               std::to_string(want.item.length);
    }
    if (!HashRange(flashed, 0, flashed.Size(), flashDigest) || flashDigest != want.item.checksum ||
        entry.checksum != want.item.checksum) {
        return label + "SHA-256 differs: flash " + HexOf(flashDigest) + ", image " + HexOf(want.item.checksum);
    }
    if (std::optional<std::uint64_t> at = FirstDifference(image, want.item.offset, flashed, 0, want.item.length)) {
        return label + "bytes differ from offset " + std::to_string(*at);
    }
    return {};
}

}  // namespace

bool VerifyFlash(const Bench& bench, int phone, const std::vector<std::string>& images, std::string& report) {
    std::vector<Expected> expected;
    bool ok = CollectExpected(images, expected, report);
    std::string instance = Bench::InstanceName(phone);
    std::string flashDir = bench.FlashDir(instance);
    std::vector<FlashEntry> entries;
    std::string error;
    if (!ParseManifest(ReadSmallFile(flashDir + "/" + kManifestName).value_or(""), entries, error)) {
        report += "phone " + std::to_string(phone) + ": " + error + "\n";
        return false;
    }
    std::vector<bool> used(entries.size(), false);
    for (const Expected& want : expected) {
        auto match = std::find_if(entries.begin(), entries.end(), [&](const FlashEntry& entry) {
            return !used[static_cast<std::size_t>(&entry - entries.data())] && entry.name == want.item.name &&
                   entry.memoryClass == want.item.memoryClass;
        });
        if (match == entries.end()) {
            report += "item " + want.item.name + " (" + want.image + "): not in the flash\n";
            ok = false;
            continue;
        }
        used[static_cast<std::size_t>(match - entries.begin())] = true;
        std::string difference = CompareItem(want, *match, flashDir);
        if (!difference.empty()) {
            report += difference + "\n";
            ok = false;
        }
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!used[i]) {
            report += "item " + entries[i].name + ": in the flash but in none of the images\n";
            ok = false;
        }
    }
    return ok;
}

}  // namespace tandrel::sim
