#include <windows.h>
#include <winhttp.h>

#include <memory>

#include "platform/win32/WideText.h"
#include "results/LineAddress.h"
#include "results/LineClient.h"
#include "results/LineReply.h"

namespace tandrel {

namespace {

struct HandleCloser {
    void operator()(HINTERNET handle) const { WinHttpCloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

LineFault FaultOf(DWORD code) {
    switch (code) {
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_NAME_NOT_RESOLVED: return LineFault::kConnect;
    case ERROR_WINHTTP_TIMEOUT: return LineFault::kTimeout;
    case ERROR_WINHTTP_CONNECTION_ERROR:
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE: return LineFault::kBrokeOff;
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CA: return LineFault::kSecure;
    default: return LineFault::kOther;
    }
}

// Why the call that just failed did: never 0, which would read as success.
DWORD LastError() {
    const DWORD code = GetLastError();
    return code ? code : ERROR_WINHTTP_INTERNAL_ERROR;
}

class HttpLineClient : public LineClient {
public:
    // No proxy, as on Linux: the line service stands on the factory's own network.
    HttpLineClient(const LineAddress& address, const std::string& token)
        : origin_(address.origin),
          path_(Widen(address.resultsPath)),
          headers_(Widen("Content-Type: application/json\r\nAuthorization: Bearer " + token + "\r\n")),
          secure_(address.secure),
          session_(WinHttpOpen(L"tandrel", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                               WINHTTP_NO_PROXY_BYPASS, 0)) {
        if (session_) {
            WinHttpSetTimeouts(session_.get(), kLineConnectMs, kLineConnectMs, kLineAnswerMs, kLineAnswerMs);
            connection_.reset(WinHttpConnect(session_.get(), Widen(address.host).c_str(), address.port, 0));
        }
        if (!connection_) setupError_ = LastError();
    }

    LineAnswer Send(const std::string& batch) override {
        DWORD status = 0;
        std::string body;
        if (const DWORD code = Post(batch, status, body)) {
            LineAnswer answer;
            answer.reason = LineFaultWords(FaultOf(code), origin_, "WinHTTP error " + std::to_string(code));
            return answer;
        }
        return ReadLineReply(static_cast<int>(status), body);
    }

private:
    // The round trip: 0, or the error that ended it, taken before closing
    // the request clears it.
    DWORD Post(const std::string& batch, DWORD& status, std::string& body) {
        if (!connection_) return setupError_;
        const Handle request(WinHttpOpenRequest(connection_.get(), L"POST", path_.c_str(), nullptr, WINHTTP_NO_REFERER,
                                                WINHTTP_DEFAULT_ACCEPT_TYPES, secure_ ? WINHTTP_FLAG_SECURE : 0));
        const DWORD size = static_cast<DWORD>(batch.size());
        DWORD statusSize = sizeof status;
        const bool answered =
            request &&
            WinHttpSendRequest(request.get(), headers_.c_str(), static_cast<DWORD>(-1), const_cast<char*>(batch.data()),
                               size, size, 0) &&
            WinHttpReceiveResponse(request.get(), nullptr) &&
            WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize, WINHTTP_NO_HEADER_INDEX) &&
            ReadBody(request.get(), body);
        return answered ? ERROR_SUCCESS : LastError();
    }

    // The whole body of the answer, however many reads it takes.
    static bool ReadBody(HINTERNET request, std::string& body) {
        char chunk[4096];
        for (;;) {
            DWORD got = 0;
            if (!WinHttpReadData(request, chunk, sizeof chunk, &got)) return false;
            if (got == 0) return true;
            body.append(chunk, got);
        }
    }

    const std::string origin_;
    const std::wstring path_;
    const std::wstring headers_;
    const bool secure_;
    const Handle session_;
    Handle connection_;
    DWORD setupError_ = 0;  // why there is no connection_
};

}  // namespace

std::unique_ptr<LineClient> MakeHttpLineClient(const LineAddress& address, const std::string& token) {
    return std::make_unique<HttpLineClient>(address, token);
}

}  // namespace tandrel
