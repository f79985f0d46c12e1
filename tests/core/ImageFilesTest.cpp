#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/ImageFiles.h"
#include "platform/Sha256.h"
#include "support/TempFolder.h"

namespace tandrel {
namespace {

namespace fs = std::filesystem;

// Every way a new build reaches the image's path gives it another identity,
// also when the size, or the size and the time, stay the same.
TEST(LocalFiles, EveryNewVersionOfTheFileHasAnotherIdentity) {
    struct Case {
        const char* how;
        std::function<void(const test::TempFolder&, const std::string&)> change;
    };
    const Case cases[] = {
        {"rewritten at another size", [](const auto& f, const auto&) { f.WriteFile("image", "build B, longer"); }},
        {"copied over in place at the same size",
         [](const auto& f, const auto& path) {
             const auto written = fs::last_write_time(path);
             f.WriteFile("image", "build B");
             fs::last_write_time(path, written + std::chrono::seconds(2));
         }},
        {"renamed into place at the same size and time",
         [](const auto& f, const auto& path) {
             f.WriteFile("new", "build B");
             fs::last_write_time(f / "new", fs::last_write_time(path));
             fs::rename(f / "new", path);
         }},
    };
    const LocalFiles files;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        const test::TempFolder folder;
        folder.WriteFile("image", "build A");
        const std::string path = folder / "image";
        FileIdentity before, again, after;
        std::string error;
        ASSERT_TRUE(files.Identify(path, before, error)) << error;
        ASSERT_TRUE(files.Identify(path, again, error)) << error;
        EXPECT_EQ(before, again);
        EXPECT_EQ(before.size, 7u);
        c.change(folder, path);
        ASSERT_TRUE(files.Identify(path, after, error)) << error;
        EXPECT_NE(before, after);
    }
}

TEST(LocalFiles, ReadsEveryByteOfTheFileItIdentifies) {
    const test::TempFolder folder;
    std::string content(2 * kImageReadChunk + 12345, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 131 + i / 977);
    folder.WriteFile("image", content);
    const LocalFiles files;
    Sha256 sha;
    FileIdentity read, now;
    std::string error;
    ASSERT_TRUE(files.Read(
        folder / "image", read,
        [&](const std::uint8_t* data, std::size_t size) {
            sha.Update(data, size);
            return true;
        },
        error))
        << error;
    EXPECT_EQ(sha.Finish(), Sha256Of(content.data(), content.size()));
    ASSERT_TRUE(files.Identify(folder / "image", now, error));
    EXPECT_EQ(read, now);
}

// None of these readings may pass for the file's bytes; each says why (in
// the system's own words where the system refused).
TEST(LocalFiles, RefusesAReadingThatProvesNothing) {
    struct Case {
        const char* what;
        const char* file;
        ImageFiles::ChunkSink sink;
        const char* why;
    };
    const test::TempFolder folder;
    folder.WriteFile("image", std::string(3 * kImageReadChunk, 'a'));
    folder.MakeFolder("folder");
    const auto appendWhileRead = [&](const std::uint8_t*, std::size_t) {
        std::ofstream(folder / "image", std::ios::app) << "more";
        return true;
    };
    const Case cases[] = {
        {"missing", "gone", [](const std::uint8_t*, std::size_t) { return true; }, ""},
        {"a folder", "folder", [](const std::uint8_t*, std::size_t) { return true; }, ""},
        {"stopped", "image", [](const std::uint8_t*, std::size_t) { return false; }, "stopped"},
        {"written meanwhile", "image", appendWhileRead, "changed while it was being read"},
    };
    const LocalFiles files;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FileIdentity identity;
        std::string error;
        EXPECT_FALSE(files.Read(folder / c.file, identity, c.sink, error));
        EXPECT_FALSE(error.empty());
        EXPECT_NE(error.find(c.why), std::string::npos) << error;
    }
    FileIdentity identity;
    std::string error;
    EXPECT_FALSE(files.Identify(folder / "gone", identity, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace tandrel
