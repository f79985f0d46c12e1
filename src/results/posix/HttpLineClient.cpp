#include <httplib.h>

#include <nlohmann/json.hpp>

#include "results/LineClient.h"

namespace tandrel {

namespace {

// A batch waits this long at most for the line's answer: a station shut
// down meanwhile waits no longer for its forwarding to end.
constexpr int kConnectSeconds = 2;
constexpr int kAnswerSeconds = 5;

std::string Words(httplib::Error error, const std::string& origin) {
    switch (error) {
    case httplib::Error::Connection: return "cannot connect to " + origin;
    case httplib::Error::ConnectionTimeout: return origin + " does not answer";
    case httplib::Error::Read:
    case httplib::Error::Write: return "the connection to " + origin + " broke off";
    case httplib::Error::SSLConnection:
    case httplib::Error::SSLServerVerification: return "no secure connection to " + origin;
    default: return "the request to " + origin + " failed (" + httplib::to_string(error) + ")";
    }
}

class HttpLineClient : public LineClient {
public:
    HttpLineClient(const std::string& origin, std::string path, const std::string& token)
        : origin_(origin), client_(origin), path_(std::move(path)) {
        client_.set_connection_timeout(kConnectSeconds);
        client_.set_read_timeout(kAnswerSeconds);
        client_.set_write_timeout(kAnswerSeconds);
        client_.set_default_headers({{"Authorization", "Bearer " + token}});
    }

    LineAnswer Send(const std::string& batch) override {
        LineAnswer answer;
        const httplib::Result result = client_.Post(path_.c_str(), batch, "application/json");
        if (!result) {
            answer.reason = Words(result.error(), origin_);
            return answer;
        }
        nlohmann::json body = nlohmann::json::parse(result->body, nullptr, false);
        if (result->status != 200) {
            answer.reason = "the line answered " + std::to_string(result->status);
            if (body.is_object() && body.contains("error") && body["error"].is_string()) {
                answer.reason += ": " + body["error"].get<std::string>();
            }
            return answer;
        }
        const auto conflicting = body.is_object() ? body.find("conflicting") : body.end();
        if (conflicting == body.end() || !conflicting->is_array()) {
            answer.reason = "the line's answer is not one of a line service";
            return answer;
        }
        for (const auto& sequence : *conflicting) {
            if (sequence.is_number_integer()) answer.conflicting.push_back(sequence.get<std::int64_t>());
        }
        answer.answered = true;
        return answer;
    }

private:
    const std::string origin_;
    httplib::Client client_;
    const std::string path_;
};

}  // namespace

std::unique_ptr<LineClient> MakeLineClient(const std::string& url, const std::string& token, std::string& error) {
    const std::size_t scheme = url.find("://");
    const bool known = scheme != std::string::npos && (url.compare(0, scheme, "http") == 0 ||
                                                       url.compare(0, scheme, "https") == 0);
    const std::size_t pathAt = known ? url.find('/', scheme + 3) : std::string::npos;
    const std::string origin = url.substr(0, pathAt);
    if (!known || origin.size() <= scheme + 3) {
        error = "--line takes the line service's address, http://HOST:PORT, not " + url;
        return nullptr;
    }
    std::string path = pathAt == std::string::npos ? std::string() : url.substr(pathAt);
    if (!path.empty() && path.back() == '/') path.pop_back();
    return std::make_unique<HttpLineClient>(origin, path + "/api/results", token);
}

}  // namespace tandrel
