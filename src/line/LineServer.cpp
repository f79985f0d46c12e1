#include "line/LineServer.h"

#include <charconv>
#include <nlohmann/json.hpp>

#include "line/LinePage.h"

namespace tandrel::line {

namespace {

constexpr const char* kJson = "application/json";

void Refuse(httplib::Response& response, int status, const std::string& reason) {
    response.status = status;
    response.set_content(nlohmann::json{{"error", reason}}.dump(), kJson);
}

// A query parameter as a whole number in [least, most]; out stays as it is when absent.
bool Parameter(const httplib::Request& request, const char* name, std::int64_t least, std::int64_t most,
               std::int64_t& out, std::string& reason) {
    if (!request.has_param(name)) return true;
    const std::string text = request.get_param_value(name);
    std::int64_t value = 0;
    const auto [end, code] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (code != std::errc() || end != text.data() + text.size() || value < least || value > most) {
        reason = std::string(name) + " takes a whole number from " + std::to_string(least) + " to " +
                 std::to_string(most) + ", not \"" + text + "\"";
        return false;
    }
    out = value;
    return true;
}

}  // namespace

LineServer::LineServer(LineDatabase& database, LineTokens tokens) : database_(database), tokens_(std::move(tokens)) {
    server_.set_payload_max_length(kMaxBodyBytes);
    server_.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (!response.body.empty()) return;
        if (response.status == 413) {
            Refuse(response, 413, "a request body is at most " + std::to_string(kMaxBodyBytes) + " bytes");
        } else {
            Refuse(response, response.status, "refused (HTTP " + std::to_string(response.status) + ")");
        }
    });
    server_.Post("/api/results",
                 [this](const httplib::Request& request, httplib::Response& response) { Ingest(request, response); });
    server_.Get("/api/stations", [this](const httplib::Request&, httplib::Response& response) {
        ListStations(response);
    });
    server_.Get("/api/results", [this](const httplib::Request& request, httplib::Response& response) {
        ListResults(request, response);
    });
    server_.Get("/healthz", [this](const httplib::Request&, httplib::Response& response) { Health(response); });
    server_.Get("/(|line\\.css|line\\.js)", [](const httplib::Request& request, httplib::Response& response) {
        const PageFile* file = FindPageFile(request.path);
        response.set_content(std::string(file->text), std::string(file->type).c_str());
    });
}

bool LineServer::Bind(const std::string& host, int port, std::string& error) {
    port_ = port == 0 ? server_.bind_to_any_port(host) : (server_.bind_to_port(host, port) ? port : -1);
    if (port_ > 0) return true;
    error = "cannot listen on " + host + ":" + std::to_string(port);
    return false;
}

// No token, no write: the token names the one station whose rows it may bring.
void LineServer::Ingest(const httplib::Request& request, httplib::Response& response) {
    const std::string token = BearerToken(request.get_header_value("Authorization"));
    if (token.empty()) {
        response.set_header("WWW-Authenticate", "Bearer");
        return Refuse(response, 401, "a station sends its line token (Authorization: Bearer TOKEN)");
    }
    const std::string station = tokens_.StationOf(token);
    if (station.empty()) return Refuse(response, 401, "the token is not one of this line's");
    Batch batch;
    std::string reason;
    if (!ParseBatch(request.body, batch, reason)) return Refuse(response, 400, reason);
    for (std::size_t i = 0; i < batch.rows.size(); ++i) {
        if (batch.rows[i].station != station) {
            return Refuse(response, 403,
                          "results[" + std::to_string(i) + "]: the token is station " + station + "'s, not " +
                              batch.rows[i].station + "'s");
        }
    }
    StoreOutcome outcome;
    if (!database_.Store(station, batch, outcome, reason)) return Refuse(response, 503, reason);
    const nlohmann::json answer = {
        {"stored", outcome.stored}, {"present", outcome.present}, {"conflicting", outcome.conflicting}};
    response.set_content(answer.dump(), kJson);
}

void LineServer::ListStations(httplib::Response& response) {
    std::string json, reason;
    if (!database_.Stations(json, reason)) return Refuse(response, 503, reason);
    response.set_content(json, kJson);
}

void LineServer::ListResults(const httplib::Request& request, httplib::Response& response) {
    ResultQuery query;
    query.station = request.get_param_value("station");
    std::string reason;
    if (!Parameter(request, "port", 0, 1 << 30, query.port, reason) ||
        !Parameter(request, "since", 0, INT64_MAX, query.sinceMs, reason) ||
        !Parameter(request, "limit", 1, 1000, query.limit, reason)) {
        return Refuse(response, 400, reason);
    }
    std::string json;
    if (!database_.Results(query, json, reason)) return Refuse(response, 503, reason);
    response.set_content(json, kJson);
}

void LineServer::Health(httplib::Response& response) {
    std::string reason;
    if (!database_.Healthy(reason)) return Refuse(response, 503, reason);
    response.set_content("{\"ok\":true}", kJson);
}

}  // namespace tandrel::line
