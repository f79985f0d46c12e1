#include "Packing.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>

#include "common/AtomicFiles.h"
#include "common/File.h"
#include "common/ImageParser.h"
#include "common/System.h"

namespace tandrel::sim {
namespace {

constexpr std::size_t kChunk = 1 << 20;

bool CopyRange(const File& in, std::uint64_t offset, std::uint64_t length, File& out, Sha256& sha,
               std::string& error) {
    std::vector<std::uint8_t> buffer(kChunk);
    while (length > 0) {
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(length, buffer.size()));
        if (!in.ReadAt(offset, buffer.data(), n)) {
            error = "cannot read " + in.Path() + " (it changed while being packed?)";
            return false;
        }
        if (!out.Write(buffer.data(), n, error)) return false;
        sha.Update(buffer.data(), n);
        offset += n;
        length -= n;
    }
    return true;
}

// Output goes to a temporary file beside OUT and replaces it only when whole.
class Output {
public:
    explicit Output(const std::string& path)
        : path(path), temp(TemporaryName(std::filesystem::path(path).parent_path().empty()
                                             ? "."
                                             : std::filesystem::path(path).parent_path().string(),
                                         std::filesystem::path(path).filename().string())) {}
    ~Output() {
        if (!done) std::remove(temp.c_str());
    }
    File Open(std::string& error) { return File::Create(temp, error); }
    bool Finish(File& file, std::string& error) {
        if (!file.Commit(error)) return false;
        std::string why;
        if (!RenameReplacing(temp, path, why)) {
            error = "cannot write " + path + ": " + why;
            return false;
        }
        done = true;
        return true;
    }

private:
    std::string path;
    std::string temp;
    bool done = false;
};

std::optional<ImageItem> ReadPlainImage(const File& file, std::string& error) {
    FileSource source(file);
    std::optional<ImageToc> toc = ParseImage(source, error);
    if (!toc) {
        error = file.Path() + ": " + error;
        return std::nullopt;
    }
    if (toc->kind != ImageKind::Plain) {
        error = file.Path() + " is a container; a container holds plain images only";
        return std::nullopt;
    }
    return toc->items[0];
}

}  // namespace

bool PackImage(const std::string& out, std::int32_t memoryClass, const std::string& name, const std::string& payload,
               std::string& error) {
    if (!ValidItemName(name, error)) return false;
    File in = File::OpenRead(payload, error);
    if (!in.IsOpen()) return false;
    ImageItem item{name, memoryClass, kPlainHeaderSize, in.Size(), {}};
    if (!HashRange(in, 0, item.length, item.checksum)) {
        error = "cannot read " + payload;
        return false;
    }
    Output output(out);
    File file = output.Open(error);
    if (!file.IsOpen()) return false;
    std::vector<std::uint8_t> header = EncodePlainHeader(item);
    Sha256 copied;
    if (!file.Write(header.data(), header.size(), error) || !CopyRange(in, 0, item.length, file, copied, error)) {
        return false;
    }
    if (copied.Finish() != item.checksum) {
        error = payload + " changed while being packed";
        return false;
    }
    return output.Finish(file, error);
}

bool PackContainer(const std::string& out, const std::vector<std::string>& images, std::string& error) {
    if (images.empty() || images.size() > kMaxItems) {
        error = "a container holds 1 to " + std::to_string(kMaxItems) + " images";
        return false;
    }
    std::vector<File> inputs;
    std::vector<ImageItem> items;
    std::uint64_t offset = ContainerTableEnd(images.size());
    for (const std::string& path : images) {
        inputs.push_back(File::OpenRead(path, error));
        if (!inputs.back().IsOpen()) return false;
        std::optional<ImageItem> item = ReadPlainImage(inputs.back(), error);
        if (!item) return false;
        items.push_back(*item);
        items.back().offset = offset;
        offset += item->length;
    }
    Output output(out);
    File file = output.Open(error);
    if (!file.IsOpen()) return false;
    std::vector<std::uint8_t> header = EncodeContainerHeader(items);
    if (!file.Write(header.data(), header.size(), error)) return false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        Sha256 sha;
        if (!CopyRange(inputs[i], kPlainHeaderSize, items[i].length, file, sha, error)) return false;
        if (sha.Finish() != items[i].checksum) {
            error = images[i] + " is damaged: its payload does not match its checksum";
            return false;
        }
    }
    return output.Finish(file, error);
}

bool ListImage(const std::string& path, std::string& listing, std::string& error) {
    File file = File::OpenRead(path, error);
    if (!file.IsOpen()) return false;
    FileSource source(file);
    std::optional<ImageToc> toc = ParseImage(source, error);
    if (!toc) {
        error = path + ": " + error;
        return false;
    }
    std::ostringstream out;
    out << (toc->kind == ImageKind::Plain ? "plain image" : "container") << ", " << toc->items.size() << " item"
        << (toc->items.size() == 1 ? "" : "s") << "\nindex\tname\tclass\tsize\n";
    for (std::size_t i = 0; i < toc->items.size(); ++i) {
        const ImageItem& item = toc->items[i];
        out << i << '\t' << item.name << '\t' << item.memoryClass << '\t' << item.length << '\n';
    }
    listing = out.str();
    return true;
}

}  // namespace tandrel::sim
