#include "RowChecks.h"

#include <algorithm>

namespace tandrel::e2e {

namespace {

std::string Joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& t : texts) all += (all.empty() ? "\"" : ", \"") + t + "\"";
    return all;
}

bool IsFailureText(const std::string& text) {
    return text.rfind("Fail", 0) == 0 || text.rfind("Boot Failed", 0) == 0 || text.rfind("Error", 0) == 0 ||
           text.rfind("Abort", 0) == 0 || text == "Can't open port";
}

}  // namespace

bool InOrder(const std::vector<std::string>& list, const std::vector<std::string>& texts) {
    auto at = list.begin();
    for (const std::string& text : texts) {
        at = std::find(at, list.end(), text);
        if (at == list.end()) return false;
        ++at;
    }
    return true;
}

bool Contains(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

bool AnyContains(const std::vector<std::string>& list, const std::string& part) {
    return std::any_of(list.begin(), list.end(), [&](const std::string& s) { return s.find(part) != std::string::npos; });
}

const std::vector<std::string> kItemStages = {"Downloading NAND PSI", "Downloading NAND SLB", "Downloading FLS",
                                              "Downloading EEPROM", "Downloading DFFS"};

::testing::AssertionResult ShowedInOrder(const std::vector<std::string>& history,
                                         const std::vector<std::string>& texts) {
    if (InOrder(history, texts)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << Joined(texts) << " in order; the row showed "
                                         << Joined(history);
}

::testing::AssertionResult RanThrough(const std::vector<std::string>& history, const std::vector<std::string>& end) {
    std::vector<std::string> expected = kItemStages;
    expected.insert(expected.end(), end.begin(), end.end());
    if (!InOrder(history, expected)) return ShowedInOrder(history, expected);
    for (const std::string& text : history) {
        if (IsFailureText(text)) return ::testing::AssertionFailure() << "the row showed \"" << text << "\"";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace tandrel::e2e
