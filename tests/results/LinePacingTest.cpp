#include <gtest/gtest.h>

#include "results/LinePacing.h"

namespace tandrel {
namespace {

TEST(LinePacing, BacksOffToThirtySecondsAndTellsTheOperatorOnceEachWay) {
    LinePacing pacing;
    const struct {
        bool reached;
        std::int64_t waiting;
        const char* said;
        int restMs;
    } steps[] = {
        {true, 0, "", 2000},
        {false, 1, "Line not reachable: cannot connect to http://line:8025, 1 result waiting", 2000},
        {false, 3, "", 4000},
        {false, 3, "", 8000},
        {false, 4, "", 16000},
        {false, 4, "", 30000},
        {false, 5, "", 30000},
        {true, 2, "", 0},
        {true, 0, "Line reached: all results are through", 2000},
        {true, 0, "", 2000},
        {false, 0, "Line not reachable: cannot connect to http://line:8025, 0 results waiting", 2000},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        const auto& s = steps[i];
        const std::string said =
            s.reached ? pacing.Answered(s.waiting) : pacing.Failed("cannot connect to http://line:8025", s.waiting);
        EXPECT_EQ(said, s.said);
        EXPECT_EQ(pacing.RestMs(), s.restMs);
        EXPECT_EQ(pacing.NewResultEndsRest(), s.reached) << "a new result does not hurry a line that is down";
    }
}

}  // namespace
}  // namespace tandrel
