#include <httplib.h>

#include <chrono>

#include "results/LineAddress.h"
#include "results/LineClient.h"
#include "results/LineReply.h"

namespace tandrel {

namespace {

LineFault FaultOf(httplib::Error error) {
    switch (error) {
    case httplib::Error::Connection: return LineFault::kConnect;
    case httplib::Error::ConnectionTimeout: return LineFault::kTimeout;
    case httplib::Error::Read:
    case httplib::Error::Write: return LineFault::kBrokeOff;
    case httplib::Error::SSLConnection:
    case httplib::Error::SSLServerVerification: return LineFault::kSecure;
    default: return LineFault::kOther;
    }
}

class HttpLineClient : public LineClient {
public:
    HttpLineClient(const LineAddress& address, const std::string& token)
        : origin_(address.origin), client_(address.origin), path_(address.resultsPath) {
        client_.set_connection_timeout(std::chrono::milliseconds(kLineConnectMs));
        client_.set_read_timeout(std::chrono::milliseconds(kLineAnswerMs));
        client_.set_write_timeout(std::chrono::milliseconds(kLineAnswerMs));
        client_.set_default_headers({{"Authorization", "Bearer " + token}});
    }

    LineAnswer Send(const std::string& batch) override {
        const httplib::Result result = client_.Post(path_.c_str(), batch, "application/json");
        if (!result) {
            LineAnswer answer;
            answer.reason = LineFaultWords(FaultOf(result.error()), origin_, httplib::to_string(result.error()));
            return answer;
        }
        return ReadLineReply(result->status, result->body);
    }

private:
    const std::string origin_;
    httplib::Client client_;
    const std::string path_;
};

}  // namespace

std::unique_ptr<LineClient> MakeHttpLineClient(const LineAddress& address, const std::string& token) {
    return std::make_unique<HttpLineClient>(address, token);
}

}  // namespace tandrel
