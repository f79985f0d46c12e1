#include <gtest/gtest.h>

#include "results/LineAddress.h"
#include "results/LineReply.h"

namespace tandrel {
namespace {

TEST(LineAddress, ReadsHostPortAndPathOfTheUrl) {
    const struct {
        const char* url;
        bool secure;
        const char* host;
        std::uint16_t port;
        const char* origin;
        const char* resultsPath;
    } cases[] = {
        {"http://line:8025", false, "line", 8025, "http://line:8025", "/api/results"},
        {"https://line.example/", true, "line.example", 443, "https://line.example", "/api/results"},
        {"http://10.0.0.7/hall-2/", false, "10.0.0.7", 80, "http://10.0.0.7", "/hall-2/api/results"},
        {"http://[::1]:9000/x", false, "::1", 9000, "http://[::1]:9000", "/x/api/results"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        std::string error;
        const std::optional<LineAddress> address = ReadLineAddress(c.url, error);
        ASSERT_TRUE(address) << error;
        EXPECT_EQ(address->secure, c.secure);
        EXPECT_EQ(address->host, c.host);
        EXPECT_EQ(address->port, c.port);
        EXPECT_EQ(address->origin, c.origin);
        EXPECT_EQ(address->resultsPath, c.resultsPath);
    }
}

TEST(LineAddress, RefusesAUrlWithoutSchemeHostOrPort) {
    for (const char* url : {"ftp://line", "line:8025", "http://", "http:///path", "http://line:", "http://line:80x",
                            "http://line:0", "http://line:65536", "http://[::1", "http://[::1]x"}) {
        std::string error;
        EXPECT_FALSE(ReadLineAddress(url, error)) << url;
        EXPECT_EQ(error, std::string("--line takes the line service's address, http://HOST:PORT, not ") + url);
    }
}

TEST(LineReply, OnlyAnOkWithAConflictingListCountsTheBatchAnswered) {
    const struct {
        int status;
        const char* body;
        bool answered;
        const char* reason;
        std::vector<std::int64_t> conflicting;
    } cases[] = {
        {200, R"({"stored":[1,2],"conflicting":[]})", true, "", {}},
        {200, R"({"conflicting":[3,"x",5]})", true, "", {3, 5}},
        {200, R"({"stored":[1]})", false, "the line's answer is not one of a line service", {}},
        {200, "<html>", false, "the line's answer is not one of a line service", {}},
        {400, R"({"error":"row 2 has no uuid"})", false, "the line answered 400: row 2 has no uuid", {}},
        {401, "", false, "the line answered 401", {}},
        {502, R"({"error":7})", false, "the line answered 502", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        const LineAnswer answer = ReadLineReply(c.status, c.body);
        EXPECT_EQ(answer.answered, c.answered);
        EXPECT_EQ(answer.reason, c.reason);
        EXPECT_EQ(answer.conflicting, c.conflicting);
    }
}

}  // namespace
}  // namespace tandrel
