// tandrel-bench: makes and drives a virtual bench of phones.
#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "common/CommandLine.h"

using namespace tandrel::sim;

namespace {

const char* const kUsage =
    "usage: tandrel-bench COMMAND ...\n"
    "\n"
    "  create DIR [--phones N]     make a bench of N phones (default 8), none plugged\n"
    "  plug DIR N                  plug phone N in; it answers as USBN\n"
    "  unplug DIR N                pull phone N out\n"
    "  fault DIR N [--clear] KEY=VALUE...\n"
    "                              set what phone N does wrong; KEY=VALUE is one of\n"
    "                                open=ok|refuse|throw    close=ok|refuse|throw\n"
    "                                boot=ok|refuse|fail     itemK=ok|refuse|fail\n"
    "                                reset=ok|fail           rate=N[K|M|G]|default\n"
    "                                unplug=ITEM@PERCENT|off\n"
    "                              items count from 1 in download order after a boot;\n"
    "                              rates are bytes per second (0: unthrottled)\n"
    "  status DIR                  show every phone: port, state, flash items, faults\n"
    "  verify DIR N IMAGE...       check that phone N's flash holds exactly the images'\n"
    "                              items, byte for byte; exit 1 and list what differs\n"
    "  robot DIR [--phones N] [--interval MS] [--until-done] [--timeout S]\n"
    "                              plug phones 1..N, one every MS (default 1000), and\n"
    "                              unplug each once its reset is done (or it failed,\n"
    "                              was aborted, or its port was closed before the\n"
    "                              reset); runs until SIGINT/SIGTERM, or until\n"
    "                              every phone is out with --until-done (exit 1 if one\n"
    "                              did not end with its reset done)\n"
    "\n"
    "The station finds the phones with --devices dir:DIR/registry; the simulator\n"
    "library finds the bench through TANDREL_BENCH=DIR.\n"
    "Exit status: 0 done, 1 failed (the reason is printed), 2 bad arguments.\n";

bool WantsHelp(const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        if (word == "--help" || word == "-h") return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    if (WantsHelp(words)) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    if (words.empty()) {
        std::fprintf(stderr, "tandrel-bench: no command given\n%s", kUsage);
        return kExitUsage;
    }
    std::string command = words[0];
    words.erase(words.begin());
    if (command == "create") return RunCreate(words);
    if (command == "plug") return RunPlug(words);
    if (command == "unplug") return RunUnplug(words);
    if (command == "fault") return RunFault(words);
    if (command == "status") return RunStatus(words);
    if (command == "verify") return RunVerify(words);
    if (command == "robot") return RunRobotCommand(words);
    std::fprintf(stderr, "tandrel-bench: unknown command %s\n%s", command.c_str(), kUsage);
    return kExitUsage;
}
