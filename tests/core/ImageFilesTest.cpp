#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
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
        FileError error;
        ASSERT_TRUE(files.Identify(path, before, error)) << error.text;
        ASSERT_TRUE(files.Identify(path, again, error)) << error.text;
        EXPECT_EQ(before, again);
        EXPECT_EQ(before.size, 7u);
        c.change(folder, path);
        ASSERT_TRUE(files.Identify(path, after, error)) << error.text;
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
    FileError error;
    ASSERT_TRUE(files.Read(
        folder / "image", read,
        [&](const std::uint8_t* data, std::size_t size) {
            sha.Update(data, size);
            return true;
        },
        error))
        << error.text;
    EXPECT_EQ(sha.Finish(), Sha256Of(content.data(), content.size()));
    ASSERT_TRUE(files.Identify(folder / "image", now, error));
    EXPECT_EQ(read, now);
}

// None of these readings may pass for the file's bytes; each says what
// kind of failure it was, and the operator reads it in plain words.
TEST(LocalFiles, RefusesAReadingThatProvesNothing) {
    struct Case {
        const char* what;
        const char* file;
        ImageFiles::ChunkSink sink;
        FileErrorKind kind;
        const char* plain;  // nullptr: the system's own words
    };
    const test::TempFolder folder;
    folder.WriteFile("image", std::string(3 * kImageReadChunk, 'a'));
    folder.MakeFolder("folder");
    const auto appendWhileRead = [&](const std::uint8_t*, std::size_t) {
        std::ofstream(folder / "image", std::ios::app) << "more";
        return true;
    };
    const auto all = [](const std::uint8_t*, std::size_t) { return true; };
    const Case cases[] = {
        {"missing", "gone", all, FileErrorKind::NotFound, "not found"},
        {"a folder", "folder", all, FileErrorKind::NotAFile, "is a folder"},
        {"stopped", "image", [](const std::uint8_t*, std::size_t) { return false; }, FileErrorKind::Io, nullptr},
        {"written meanwhile", "image", appendWhileRead, FileErrorKind::Changed, "changed while it was being read"},
    };
    const LocalFiles files;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FileIdentity identity;
        FileError error;
        EXPECT_FALSE(files.Read(folder / c.file, identity, c.sink, error));
        EXPECT_EQ(error.kind, c.kind) << error.text;
        EXPECT_FALSE(error.text.empty());
        if (c.plain) {
            EXPECT_EQ(error.Plain(), c.plain);
        }
    }
    FileIdentity identity;
    FileError error;
    EXPECT_FALSE(files.Identify(folder / "folder", identity, error));
    EXPECT_EQ(error.Plain(), "is a folder");
    EXPECT_FALSE(files.Identify(folder / "gone", identity, error));
    EXPECT_EQ(error.kind, FileErrorKind::NotFound);
}

// The copy holds the bytes the source had, stays so whatever becomes of the
// source, cannot be written to, and is named beside no other.
TEST(LocalFiles, ACopyKeepsTheBytesItWasMadeOf) {
    const test::TempFolder folder;
    const std::string content(kImageReadChunk + 99, 'A');
    folder.WriteFile("image", content);
    const LocalFiles files;
    FileIdentity identity, source;
    std::string first, second;
    FileError error;
    const auto goOn = [] { return true; };
    ASSERT_TRUE(files.Copy(folder / "image", folder / "a/b", identity, first, goOn, error)) << error.text;
    ASSERT_TRUE(files.Copy(folder / "image", folder / "a/b", identity, second, goOn, error)) << error.text;
    EXPECT_NE(first, second);
    ASSERT_TRUE(files.Identify(folder / "image", source, error));
    EXPECT_EQ(identity, source);
    folder.WriteFile("image", "build B");
    {
        // Closed again before the rename: Windows will not replace a file that is open.
        std::ifstream copy(first, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), {}), content);
    }
    const auto perms = fs::status(first).permissions();
    EXPECT_EQ(perms & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write), fs::perms::none);

    ASSERT_TRUE(files.Rename(second, first, error)) << "over a read-only copy: " << error.text;
    files.Remove(first);
    EXPECT_FALSE(fs::exists(first));
    EXPECT_TRUE(fs::is_empty(folder / "a/b"));
}

// A copy that cannot be made leaves nothing behind and names the folder.
TEST(LocalFiles, ACopyThatCannotBeMadeNamesWhereItFailed) {
    const test::TempFolder folder;
    folder.WriteFile("image", "build A");
    folder.WriteFile("plain", "not a folder");
    const LocalFiles files;
    FileIdentity identity;
    std::string copy;
    FileError error;
    EXPECT_FALSE(files.Copy(folder / "gone", folder / "copies", identity, copy, [] { return true; }, error));
    EXPECT_EQ(error.kind, FileErrorKind::NotFound);
    EXPECT_EQ(error.path, folder / "gone");
    EXPECT_FALSE(files.Copy(folder / "image", folder / "plain/copies", identity, copy, [] { return true; }, error));
    EXPECT_EQ(error.path.rfind(folder / "plain", 0), 0u) << error.path;
    EXPECT_FALSE(error.text.empty());
}

}  // namespace
}  // namespace tandrel
