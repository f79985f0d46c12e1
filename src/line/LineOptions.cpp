#include "line/LineOptions.h"

#include <charconv>

namespace tandrel::line {

namespace {

// HOST:PORT, the host a name or an IPv4 address.
bool ParseListen(const std::string& text, LineOptions& out) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    int port = 0;
    const char* end = text.data() + text.size();
    const auto [at, code] = std::from_chars(text.data() + colon + 1, end, port);
    if (code != std::errc() || at != end || port < 0 || port > 65535) return false;
    out.host = text.substr(0, colon);
    out.port = port;
    return true;
}

}  // namespace

std::optional<LineOptions> ParseLineOptions(const std::vector<std::string>& args, std::string& error) {
    LineOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help") {
            o.help = true;
            continue;
        }
        if (a != "--database" && a != "--listen" && a != "--tokens") {
            error = "unknown option " + a;
            return std::nullopt;
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            error = a + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (a == "--database") {
            o.database = value;
        } else if (a == "--tokens") {
            o.tokens = value;
        } else if (!ParseListen(value, o)) {
            error = "--listen takes HOST:PORT, not " + value;
            return std::nullopt;
        }
    }
    if (o.database.empty() && !o.help) {
        error = "--database URL is needed";
        return std::nullopt;
    }
    return o;
}

std::string LineUsage() {
    return "usage: tandrel-line --database URL [--listen HOST:PORT] [--tokens FILE]\n"
           "  --database URL      the line's PostgreSQL database (postgresql://USER@HOST:PORT/NAME)\n"
           "  --listen HOST:PORT  where to serve the page and the API (default 127.0.0.1:8025; port 0: any)\n"
           "  --tokens FILE       the stations' write tokens, a line \"STATION TOKEN\" each;\n"
           "                      without it no station can send results\n";
}

}  // namespace tandrel::line
