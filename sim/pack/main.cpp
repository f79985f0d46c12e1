// tandrel-pack: builds the image files the station downloads.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Packing.h"
#include "common/CommandLine.h"
#include "common/ImageFormat.h"

using namespace tandrel::sim;

namespace {

const char* const kUsage =
    "usage: tandrel-pack image OUT --class N [--name NAME] PAYLOAD\n"
    "       tandrel-pack container OUT IMAGE...\n"
    "       tandrel-pack list FILE\n"
    "\n"
    "image      wraps the raw file PAYLOAD into a plain image of memory class N\n"
    "           named NAME (default: PAYLOAD's file name)\n"
    "container  puts plain images into one container, keeping their names and classes\n"
    "list       prints the table of contents: index, name, class, size in bytes\n"
    "\n"
    "Exit status: 0 done, 1 failed (the reason is printed), 2 bad arguments.\n";

int Usage(const std::string& error) {
    std::fprintf(stderr, "tandrel-pack: %s\n%s", error.c_str(), kUsage);
    return kExitUsage;
}

int Failed(const std::string& error) {
    std::fprintf(stderr, "tandrel-pack: %s\n", error.c_str());
    return kExitFailed;
}

std::string BaseName(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int RunImage(const Arguments& args) {
    if (args.words.size() != 2) return Usage("image takes OUT and PAYLOAD");
    std::optional<std::string> classText = args.Option("--class");
    if (!classText) return Usage("image needs --class N");
    std::optional<int> memoryClass = ParseInt(*classText, INT32_MIN, INT32_MAX);
    if (!memoryClass) return Usage("--class takes a whole number, not " + *classText);
    std::string name = args.Option("--name").value_or(BaseName(args.words[1]));
    std::string error;
    if (!ValidItemName(name, error)) return Usage("bad --name: " + error);
    if (!PackImage(args.words[0], *memoryClass, name, args.words[1], error)) return Failed(error);
    return kExitOk;
}

int RunContainer(const Arguments& args) {
    if (args.words.size() < 2) return Usage("container takes OUT and at least one IMAGE");
    std::string error;
    std::vector<std::string> images(args.words.begin() + 1, args.words.end());
    if (!PackContainer(args.words[0], images, error)) return Failed(error);
    return kExitOk;
}

int RunList(const Arguments& args) {
    if (args.words.size() != 1) return Usage("list takes one FILE");
    std::string listing, error;
    if (!ListImage(args.words[0], listing, error)) return Failed(error);
    std::fputs(listing.c_str(), stdout);
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) return Usage("no command given");
    std::string command = words[0];
    words.erase(words.begin());
    std::string error;
    std::optional<Arguments> args = SplitArguments(words, {"--class", "--name"}, {"--help"}, error);
    if (command == "--help" || (args && args->Flag("--help"))) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    if (!args) return Usage(error);
    bool imageOptions = !args->options.empty();
    if (command == "image") return RunImage(*args);
    if (imageOptions) return Usage("--class and --name belong to the image command");
    if (command == "container") return RunContainer(*args);
    if (command == "list") return RunList(*args);
    return Usage("unknown command " + command);
}
