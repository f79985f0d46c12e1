#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "SimTestSupport.h"
#include "common/AtomicFiles.h"
#include "common/Bench.h"

namespace tandrel::sim::test {
namespace {

struct Result {
    int status;
    std::string output;
};

Result Tool(const std::string& tool, const std::string& args) {
    std::string command = tool + " " + args + " 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    Result run{-1, {}};
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

Result BenchTool(const std::string& args) { return Tool(TANDREL_BENCH_TOOL, args); }
Result PackTool(const std::string& args) { return Tool(TANDREL_PACK_TOOL, args); }

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

TEST(BenchTool, CreatePlugAndStatusShowThePhoneOnUsb) {
    TempFolder dir;
    std::string b = Quoted(dir / "b");
    ASSERT_EQ(BenchTool("create " + b + " --phones 8").status, 0);
    ASSERT_EQ(BenchTool("plug " + b + " 3").status, 0);
    Result status = BenchTool("status " + b);
    ASSERT_EQ(status.status, 0) << status.output;
    EXPECT_NE(status.output.find("\n3      USB3     plugged"), std::string::npos) << status.output;
    EXPECT_NE(status.output.find("\n4      -        new"), std::string::npos) << status.output;
    EXPECT_EQ(ReadSmallFile(dir / "b/" + kEnumerationKey + "/phone-3/Device Parameters/CreateFileName"), "USB3");
    EXPECT_EQ(BenchTool("plug " + b + " 3").status, 1);
    EXPECT_EQ(BenchTool("unplug " + b + " 3").status, 0);
    EXPECT_EQ(BenchTool("unplug " + b + " 3").status, 1);
}

TEST(BenchTool, BadArgumentsExitWithTwoAndHelpWithZero) {
    TempFolder dir;
    std::string b = Quoted(dir / "b");
    ASSERT_EQ(BenchTool("create " + b + " --phones 2").status, 0);
    for (const std::string& args : std::vector<std::string>{"", "frobnicate", "create", "create x --phones 0", "create x --phones",
                                    "create x --colour red", "plug " + b, "plug " + b + " 33", "plug " + b + " x",
                                    "fault " + b + " 1", "fault " + b + " 1 boot=maybe", "verify " + b + " 1",
                                    "robot " + b + " --interval soon", "status"}) {
        Result run = BenchTool(args);
        EXPECT_EQ(run.status, 2) << args << "\n" << run.output;
        EXPECT_NE(run.output.find("tandrel-bench"), std::string::npos) << args;
    }
    for (const std::string command : {"", "create ", "plug ", "unplug ", "fault ", "status ", "verify ", "robot "}) {
        Result run = BenchTool(command + "--help");
        EXPECT_EQ(run.status, 0) << command;
        EXPECT_NE(run.output.find("usage:"), std::string::npos) << command;
    }
    EXPECT_EQ(BenchTool("plug " + b + " 5").status, 1);
    EXPECT_EQ(BenchTool("status " + Quoted(dir / "none")).status, 1);
}

TEST(BenchTool, FaultsAreMergedAndShown) {
    TempFolder dir;
    std::string b = Quoted(dir / "b");
    ASSERT_EQ(BenchTool("create " + b + " --phones 1").status, 0);
    ASSERT_EQ(BenchTool("fault " + b + " 1 boot=fail item3=refuse").status, 0);
    ASSERT_EQ(BenchTool("fault " + b + " 1 unplug=2@30 boot=ok").status, 0);
    EXPECT_NE(BenchTool("status " + b).output.find("item3=refuse unplug=2@30"), std::string::npos);
    ASSERT_EQ(BenchTool("fault " + b + " 1 --clear").status, 0);
    EXPECT_NE(BenchTool("status " + b).output.find("none"), std::string::npos);
}

TEST(BenchTool, VerifySaysWhatDiffers) {
    TempFolder dir;
    std::string b = Quoted(dir / "b");
    ASSERT_EQ(BenchTool("create " + b + " --phones 1").status, 0);
    WritePlainImage(dir / "a.img", 4, "code", Payload(100, 1));
    Result run = BenchTool("verify " + b + " 1 " + Quoted(dir / "a.img"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("item code (" + dir / "a.img" + "): not in the flash"), std::string::npos) << run.output;
}

TEST(BenchTool, RobotPlugsEveryPhoneAndUnplugsEachOnceFinished) {
    TempFolder dir;
    std::string b = Quoted(dir / "b");
    ASSERT_EQ(BenchTool("create " + b + " --phones 2").status, 0);
    std::string error;
    std::optional<tandrel::sim::Bench> bench = tandrel::sim::Bench::Open(dir / "b", error);
    // The robot plugs and then waits; the phones are given their final states
    // up front by a second writer, as the library would, once plugged.
    std::string command = std::string(TANDREL_BENCH_TOOL) + " robot " + b + " --interval 0 --until-done --timeout 60";
    std::FILE* robot = ::popen((command + " 2>&1").c_str(), "r");
    std::string output;
    char line[256];
    int unplugged = 0;
    while (std::fgets(line, sizeof line, robot) != nullptr) {
        output += line;
        std::string text = line;
        if (text.rfind("robot: plugged phone ", 0) == 0) {
            std::string instance = "phone-" + text.substr(21, text.size() - 22);
            bench->WriteState(instance, instance == "phone-1" ? phone_state::kResetDone : phone_state::kFailed, error);
        }
        unplugged += text.rfind("robot: unplugged", 0) == 0;
    }
    int status = ::pclose(robot);
    EXPECT_EQ(unplugged, 2) << output;
    EXPECT_EQ(WEXITSTATUS(status), 1) << output;
    EXPECT_NE(output.find("unplugged phone 2 (failed)"), std::string::npos) << output;
    EXPECT_FALSE(bench->IsPlugged("phone-1"));
}

TEST(PackTool, BuildsImagesAndContainersThatListBack) {
    TempFolder dir;
    WriteBytes(dir / "payload", Payload(70000, 1));
    ASSERT_EQ(PackTool("image " + Quoted(dir / "a.img") + " --class 4 --name code.fls " + Quoted(dir / "payload")).status, 0);
    ASSERT_EQ(PackTool("image " + Quoted(dir / "b.img") + " --class 13 " + Quoted(dir / "payload")).status, 0);
    ASSERT_EQ(PackTool("container " + Quoted(dir / "c.pak") + " " + Quoted(dir / "a.img") + " " + Quoted(dir / "b.img")).status, 0);
    Result list = PackTool("list " + Quoted(dir / "c.pak"));
    ASSERT_EQ(list.status, 0) << list.output;
    EXPECT_EQ(list.output, "container, 2 items\nindex\tname\tclass\tsize\n0\tcode.fls\t4\t70000\n1\tpayload\t13\t70000\n");
    std::vector<std::uint8_t> container = ReadBytes(dir / "c.pak");
    std::vector<std::uint8_t> payload = ReadBytes(dir / "payload");
    EXPECT_TRUE(std::equal(payload.begin(), payload.end(), container.end() - 70000));
}

TEST(PackTool, RefusesBadInputWithoutWritingTheOutput) {
    TempFolder dir;
    WriteBytes(dir / "payload", Payload(100, 1));
    ASSERT_EQ(PackTool("image " + Quoted(dir / "a.img") + " --class 4 " + Quoted(dir / "payload")).status, 0);
    ASSERT_EQ(PackTool("container " + Quoted(dir / "c.pak") + " " + Quoted(dir / "a.img")).status, 0);
    Result nested = PackTool("container " + Quoted(dir / "d.pak") + " " + Quoted(dir / "c.pak"));
    EXPECT_EQ(nested.status, 1);
    EXPECT_NE(nested.output.find("is a container"), std::string::npos) << nested.output;
    std::vector<std::uint8_t> damaged = ReadBytes(dir / "a.img");
    damaged.back() ^= 1;
    WriteBytes(dir / "bad.img", damaged);
    Result bad = PackTool("container " + Quoted(dir / "d.pak") + " " + Quoted(dir / "bad.img"));
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.output.find("damaged"), std::string::npos) << bad.output;
    EXPECT_FALSE(ReadSmallFile(dir / "d.pak"));
    EXPECT_EQ(PackTool("list " + Quoted(dir / "payload")).status, 1);
    for (const std::string args : {"", "image", "image a --class x b", "image a b", "image a --class 1 --name '' b",
                                    "list", "container a", "list a --class 3", "shrink a"}) {
        EXPECT_EQ(PackTool(args).status, 2) << args;
    }
    EXPECT_EQ(PackTool("--help").status, 0);
    EXPECT_EQ(PackTool("image --help").status, 0);
}

}  // namespace
}  // namespace tandrel::sim::test
