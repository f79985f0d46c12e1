#include "ImageSet.h"

#include <fstream>
#include <random>
#include <stdexcept>

#include "Programs.h"

namespace tandrel::e2e {

namespace {

constexpr std::size_t KiB = 1024;
constexpr std::size_t MiB = 1024 * KiB;

void WritePayload(const std::string& path, std::size_t size, std::mt19937& random) {
    std::string bytes(size, '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

void Pack(const std::vector<std::string>& words) {
    std::vector<std::string> argv = {TANDREL_PACK_TOOL};
    argv.insert(argv.end(), words.begin(), words.end());
    const ProgramResult result = RunProgram(argv);
    if (result.status != 0) throw std::runtime_error("tandrel-pack " + words[0] + " failed: " + result.output);
}

}  // namespace

std::vector<ItemSpec> DemoItems() {
    return {{"psi_boot.fls", 1, 96 * KiB},
            {"slb_boot.fls", 2, 512 * KiB},
            {"code.fls", 4, 24 * MiB},
            {"static.eep", 7, 64 * KiB},
            {"static_ffs.dffs", 11, 6 * MiB}};
}

std::vector<ItemSpec> SmallItems() {
    return {{"psi_boot.fls", 1, 4 * KiB},
            {"slb_boot.fls", 2, 16 * KiB},
            {"code.fls", 4, 256 * KiB},
            {"static.eep", 7, 2 * KiB},
            {"static_ffs.dffs", 11, 64 * KiB}};
}

std::vector<std::string> PackImages(const std::string& folder, const std::vector<ItemSpec>& items, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::string> images;
    for (const ItemSpec& item : items) {
        const std::string payload = folder + "/" + item.name + ".bin";
        const std::string image = folder + "/" + item.name + ".img";
        WritePayload(payload, item.size, random);
        Pack({"image", image, "--class", std::to_string(item.memoryClass), "--name", item.name, payload});
        images.push_back(image);
    }
    return images;
}

std::string PackContainer(const std::string& folder, const std::vector<std::string>& images) {
    const std::string container = folder + "/all.pak";
    std::vector<std::string> words = {"container", container};
    words.insert(words.end(), images.begin(), images.end());
    Pack(words);
    return container;
}

std::size_t TotalSize(const std::vector<ItemSpec>& items) {
    std::size_t total = 0;
    for (const ItemSpec& item : items) total += item.size;
    return total;
}

}  // namespace tandrel::e2e
