#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tandrel::e2e {

// Whether list holds texts in this order, others allowed between them.
bool InOrder(const std::vector<std::string>& list, const std::vector<std::string>& texts);
bool Contains(const std::vector<std::string>& list, const std::string& text);
// Whether any line of list contains part.
bool AnyContains(const std::vector<std::string>& list, const std::string& part);

// What the row of a phone taking the five items shows, stage by stage.
extern const std::vector<std::string> kItemStages;

// The row went through every item stage and then the texts of end, in
// order, and never showed a failure or an abort.
::testing::AssertionResult RanThrough(const std::vector<std::string>& history, const std::vector<std::string>& end);

// The row showed texts in this order, others allowed between them.
::testing::AssertionResult ShowedInOrder(const std::vector<std::string>& history,
                                         const std::vector<std::string>& texts);

}  // namespace tandrel::e2e
