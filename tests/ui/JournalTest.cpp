#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "support/SimulatedLoop.h"
#include "support/StrictUtf8.h"
#include "support/TempFolder.h"
#include "ui/Journal.h"

namespace tandrel {
namespace {

// A journal writing into a file of its own, read back by a second reader.
class JournalFile : public ::testing::Test {
protected:
    ~JournalFile() override { std::fclose(out_); }

    // What is in the file now, without closing or flushing the writer.
    std::vector<std::string> Lines() const {
        std::ifstream in(path_);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    SimulatedLoop clock;
    test::TempFolder folder_;
    std::string path_ = folder_ / "journal";
    std::FILE* out_ = std::fopen(path_.c_str(), "wb");
    Journal journal{out_, clock};
};

TEST_F(JournalFile, EachDisplayChangeIsOneFlushedLineStampedWithItsTime) {
    journal.Status(3, "READY");
    EXPECT_EQ(Lines().size(), 1u) << "a record must be on disk as soon as it is written";
    clock.RunFor(1234);
    journal.RowColour(3, Rgb(0, 31, 255));
    journal.Progress(8, 40);
    journal.Banner("searching", true);
    journal.Banner("stopped", false);
    journal.Log("Port open");
    journal.LogClear();
    journal.Enable(1004, false);
    journal.Enable(1022, true);
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           R"({"t":0,"ev":"status","ch":3,"text":"READY"})",
                           R"({"t":1234,"ev":"colour","ch":3,"rgb":[0,31,255]})",
                           R"({"t":1234,"ev":"progress","ch":8,"pos":40})",
                           R"({"t":1234,"ev":"banner","text":"searching","colour":"blue"})",
                           R"({"t":1234,"ev":"banner","text":"stopped","colour":"red"})",
                           R"({"t":1234,"ev":"log","text":"Port open"})",
                           R"({"t":1234,"ev":"log-clear"})",
                           R"({"t":1234,"ev":"enable","id":1004,"on":false})",
                           R"({"t":1234,"ev":"enable","id":1022,"on":true})",
                       }));
}

TEST(JournalQuote, EscapesWhatJsonNeedsAndKeepsUtf8) {
    EXPECT_EQ(Journal::Quote("plain"), R"("plain")");
    EXPECT_EQ(Journal::Quote("say \"hi\"\\"), R"("say \"hi\"\\")");
    EXPECT_EQ(Journal::Quote("a\nb\rc\td"), R"("a\nb\rc\td")");
    EXPECT_EQ(Journal::Quote(std::string("\x01\x1f", 2)), R"("\u0001\u001f")");
    EXPECT_EQ(Journal::Quote(std::string("nul\0end", 7)), R"("nul\u0000end")");
    const std::string korean = "\xEC\xB1\x84\xEB\x84\x90 \xEA\xB2\x80\xEC\x83\x89 \xEC\xA4\x91";
    EXPECT_EQ(Journal::Quote(korean), "\"" + korean + "\"");
}

TEST(JournalQuote, ReplacesBytesThatAreNotUtf8) {
    const std::string replacement = "\xEF\xBF\xBD";
    // A lone continuation byte, a code page 949 pair, a cut sequence, an overlong form, a surrogate.
    EXPECT_EQ(Journal::Quote("a\x80z"), "\"a" + replacement + "z\"");
    EXPECT_EQ(Journal::Quote("\xC3\xA4\xB0\xA1"), "\"\xC3\xA4" + replacement + replacement + "\"");
    EXPECT_EQ(Journal::Quote("cut\xEC\xB1"), "\"cut" + replacement + replacement + "\"");
    EXPECT_EQ(Journal::Quote("\xC0\xAF"), "\"" + replacement + replacement + "\"");
    EXPECT_EQ(Journal::Quote("\xED\xA0\x80"), "\"" + replacement + replacement + replacement + "\"");
}


// A JSON string literal: quoted, every backslash starts a known escape, no
// raw control character or bare quote inside.
bool IsJsonStringLiteral(const std::string& q) {
    if (q.size() < 2 || q.front() != '"' || q.back() != '"') return false;
    for (std::size_t i = 1; i + 1 < q.size(); ++i) {
        const auto c = static_cast<unsigned char>(q[i]);
        if (c < 0x20 || c == '"') return false;
        if (c != '\\') continue;
        const char e = q[++i];
        if (e == 'u') {
            if (i + 4 >= q.size() - 1) return false;
            i += 4;
        } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

TEST(JournalQuote, AnyBytesGiveAValidJsonString) {
    std::mt19937 random(20101013);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 40);
    for (int round = 0; round < 20000; ++round) {
        std::string text(static_cast<std::size_t>(length(random)), '\0');
        for (char& c : text) c = static_cast<char>(byte(random));
        const std::string quoted = Journal::Quote(text);
        ASSERT_TRUE(IsJsonStringLiteral(quoted)) << "round " << round;
        ASSERT_TRUE(test::IsStrictUtf8(quoted)) << "round " << round;
    }
}

// A disk that takes `room` more bytes, then refuses with "No space left".
struct FullDisk : JournalSink {
    std::size_t Write(std::string_view bytes, std::string& error) override {
        const std::size_t n = std::min(room, bytes.size());
        text.append(bytes.substr(0, n));
        room -= n;
        if (n < bytes.size()) error = "No space left on device";
        return n;
    }
    std::string text;
    std::size_t room = 0;
};

// Lines waiting for room come out whole and in order once there is room;
// the one the failure cut is finished first; it is said once.
TEST(JournalOnAFullDisk, KeepsWhatItCouldNotWriteAndWritesItInOrderOnceThereIsRoom) {
    SimulatedLoop loop;
    auto owned = std::make_unique<FullDisk>();
    FullDisk& disk = *owned;
    disk.room = 10;
    Journal journal(std::move(owned), loop);
    std::vector<std::string> reports;
    journal.OnWriteFailure([&](const std::string& reason) { reports.push_back(reason); });

    journal.Status(1, "Downloading FLS");
    journal.Progress(1, 50);
    journal.Result(1, 1, true, {"|0|/a.fls"}, {""}, 700, "u1");
    EXPECT_EQ(reports, std::vector<std::string>{"No space left on device"});
    EXPECT_EQ(disk.text, R"({"t":0,"ev)");
    EXPECT_EQ(journal.PendingRecords(), 3u);

    disk.room = 1 << 20;
    loop.RunFor(Journal::kRetryMs);
    EXPECT_EQ(disk.text, R"({"t":0,"ev":"status","ch":1,"text":"Downloading FLS"})"
                         "\n" R"({"t":0,"ev":"progress","ch":1,"pos":50})"
                         "\n" R"({"t":0,"ev":"result","ch":1,"device":1,"result":"Success","images":["|0|/a.fls"],"ms":700,"sha256":[null],"uuid":"u1"})"
                         "\n");
    EXPECT_EQ(journal.Finish(), 0);
    EXPECT_EQ(reports.size(), 1u);
}

// Beyond its bound the journal lets progress go first and never a result.
TEST(JournalOnAFullDisk, DropsProgressBeforeAnythingElseAndNeverAResult) {
    SimulatedLoop loop;
    auto owned = std::make_unique<FullDisk>();
    FullDisk& disk = *owned;
    Journal journal(std::move(owned), loop);
    journal.Result(1, 1, false, {}, {}, 1, "u1");
    journal.Log("first log");
    std::size_t records = 2;
    for (; records * 40 < 2 * Journal::kMaxPendingBytes; ++records) journal.Progress(2, 1);
    journal.Result(2, 2, true, {}, {}, 2, "u2");
    ++records;
    const std::size_t kept = journal.PendingRecords();
    EXPECT_LT(kept, records);

    disk.room = 1 << 24;
    EXPECT_EQ(journal.Finish(), static_cast<std::int64_t>(records - kept));
    EXPECT_NE(disk.text.find("\"ch\":1,\"device\":1,\"result\":\"Fail\""), std::string::npos);
    EXPECT_NE(disk.text.find("\"ch\":2,\"device\":2,\"result\":\"Success\""), std::string::npos);
    EXPECT_NE(disk.text.find("first log"), std::string::npos) << "only progress had to go";
}

}  // namespace
}  // namespace tandrel
