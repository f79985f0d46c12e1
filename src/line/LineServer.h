#pragma once

#include <httplib.h>

#include <string>

#include "line/LineDatabase.h"
#include "line/LineTokens.h"

namespace tandrel::line {

// The largest request body taken; a bigger one is answered 413.
constexpr std::size_t kMaxBodyBytes = 1 << 20;

// The line's HTTP side: ingest from the stations, the JSON API and the page.
// Requests are served on the library's pool of threads; the database
// serialises them.
class LineServer {
public:
    LineServer(LineDatabase& database, LineTokens tokens);

    // Binds host:port; port 0 takes a free one. False, with the reason, when it cannot.
    bool Bind(const std::string& host, int port, std::string& error);
    int Port() const { return port_; }
    // Serves until Stop.
    void Serve() { server_.listen_after_bind(); }
    // Any thread.
    void Stop() { server_.stop(); }

private:
    void Ingest(const httplib::Request& request, httplib::Response& response);
    void ListStations(httplib::Response& response);
    void ListResults(const httplib::Request& request, httplib::Response& response);
    void Health(httplib::Response& response);

    LineDatabase& database_;
    const LineTokens tokens_;
    httplib::Server server_;
    int port_ = 0;
};

}  // namespace tandrel::line
