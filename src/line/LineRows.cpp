#include "line/LineRows.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include <nlohmann/json.hpp>

namespace tandrel::line {

namespace {

using nlohmann::json;

// Channel and device numbers are small; the database keeps them as integer.
constexpr std::int64_t kMostPort = 1 << 20;

bool IsUuid(const std::string& text) {
    if (text.size() != 36) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? c != '-' : !std::isxdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

// PostgreSQL's text holds no NUL character; a row with one is refused, not cut.
bool HasNul(const json& value) {
    if (value.is_string()) return value.get_ref<const std::string&>().find('\0') != std::string::npos;
    if (value.is_structured()) {
        for (const json& item : value) {
            if (HasNul(item)) return true;
        }
    }
    return false;
}

// Reads the fields of one row; the first fault goes into reason as "FIELD: what is wrong".
class RowReader {
public:
    explicit RowReader(const json& row) : row_(row) {}

    bool Text(const char* name, std::string& out, bool required) {
        const auto it = row_.find(name);
        if (it == row_.end() || it->is_null()) {
            if (required) return Fault(name, "missing");
            return true;
        }
        if (!it->is_string()) return Fault(name, "not a text");
        out = it->get<std::string>();
        if (required && out.empty()) return Fault(name, "empty");
        return true;
    }
    bool Integer(const char* name, std::int64_t& out, std::int64_t least, bool required,
                 std::int64_t most = INT64_MAX) {
        const auto it = row_.find(name);
        if (it == row_.end() || it->is_null()) {
            if (required) return Fault(name, "missing");
            return true;
        }
        if (!it->is_number_integer()) return Fault(name, "not an integer");
        if (it->is_number_unsigned() && it->get<std::uint64_t>() > INT64_MAX) return Fault(name, "too large");
        out = it->get<std::int64_t>();
        if (out < least) return Fault(name, "below " + std::to_string(least));
        if (out > most) return Fault(name, "above " + std::to_string(most));
        return true;
    }
    bool TextList(const char* name, bool nullable) {
        const auto it = row_.find(name);
        if (it == row_.end()) return true;
        if (!it->is_array()) return Fault(name, "not a list");
        for (const json& item : *it) {
            if (!item.is_string() && !(nullable && item.is_null())) return Fault(name, "holds a non-text entry");
        }
        return true;
    }
    bool Check(bool holds, const char* name, const char* what) { return holds || Fault(name, what); }
    bool Fault(const std::string& name, const std::string& what) {
        reason = name + ": " + what;
        return false;
    }

    std::string reason;

private:
    const json& row_;
};

bool ReadRow(const json& value, LineRow& row, std::string& reason) {
    if (!value.is_object()) {
        reason = "not an object";
        return false;
    }
    RowReader r(value);
    std::string text, result;
    std::int64_t number = 0;
    const bool ok = r.Text("station", row.station, true) && r.Integer("sequence", row.sequence, 1, true) &&
                    r.Text("uuid", row.uuid, true) && r.Check(IsUuid(row.uuid), "uuid", "not a UUID") &&
                    r.Text("run", text, false) && r.Text("mode", text, true) &&
                    r.Integer("ch", number, 0, true, kMostPort) && r.Integer("device", number, 0, true, kMostPort) &&
                    r.Text("result", result, true) &&
                    r.Check(result == "Success" || result == "Fail", "result", "neither Success nor Fail") &&
                    r.Text("fail_text", text, false) && r.Integer("result_ms", number, 0, false) &&
                    r.Integer("ms", number, 0, false) && r.TextList("images", false) &&
                    r.TextList("sha256", true) && r.Check(!HasNul(value), "row", "a text holds a NUL character");
    if (!ok) {
        reason = r.reason;
        return false;
    }
    row.record = value.dump();
    return true;
}

// A station has eight ports; a list of more than this is not a station's.
constexpr std::size_t kMostFlaggedPorts = 64;

// The flagged ports, each named once, as the compact list the database takes.
bool ReadPorts(const json& list, std::string& out, std::string& reason) {
    if (!list.is_array()) {
        reason = "ports: not a list";
        return false;
    }
    if (list.size() > kMostFlaggedPorts) {
        reason = "ports: more than " + std::to_string(kMostFlaggedPorts);
        return false;
    }
    json taken = json::array();
    std::vector<std::int64_t> named;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const json& item = list[i];
        std::int64_t port = 0;
        std::string text;
        RowReader r(item);
        const bool ok = r.Check(item.is_object(), "entry", "not an object") &&
                        r.Integer("port", port, 1, true, kMostPort) && r.Text("reason", text, true) &&
                        r.Check(!HasNul(item), "reason", "holds a NUL character") &&
                        r.Check(std::find(named.begin(), named.end(), port) == named.end(), "port", "named twice");
        if (!ok) {
            reason = "ports[" + std::to_string(i) + "]: " + r.reason;
            return false;
        }
        named.push_back(port);
        taken.push_back({{"port", port}, {"reason", text}});
    }
    out = taken.dump();
    return true;
}

}  // namespace

bool ParseBatch(const std::string& body, Batch& out, std::string& reason) {
    json batch;
    try {
        batch = json::parse(body);
    } catch (const json::parse_error& e) {
        reason = std::string("not JSON: ") + e.what();
        return false;
    }
    const auto results = batch.is_object() ? batch.find("results") : batch.end();
    if (results == batch.end() || !results->is_array()) {
        reason = "a batch is an object with a list \"results\"";
        return false;
    }
    if (results->size() > kMaxBatchRows) {
        reason = "a batch holds at most " + std::to_string(kMaxBatchRows) + " results";
        return false;
    }
    Batch taken;
    RowReader header(batch);
    if (!header.Integer("waiting", taken.waiting, 0, false)) {
        reason = header.reason;
        return false;
    }
    const auto ports = batch.find("ports");
    if (ports != batch.end() && !ports->is_null()) {
        taken.ports.emplace();
        if (!ReadPorts(*ports, *taken.ports, reason)) return false;
    }
    taken.rows.resize(results->size());
    for (std::size_t i = 0; i < taken.rows.size(); ++i) {
        std::string fault;
        if (!ReadRow((*results)[i], taken.rows[i], fault)) {
            reason = "results[" + std::to_string(i) + "]: " + fault;
            return false;
        }
    }
    out = std::move(taken);
    return true;
}

}  // namespace tandrel::line
