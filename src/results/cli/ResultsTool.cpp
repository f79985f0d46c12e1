#include "results/cli/ResultsTool.h"

#include <cstdio>
#include <fstream>
#include <optional>

#include "platform/WallClock.h"
#include "results/PortHealth.h"
#include "results/ResultStore.h"
#include "ui/Journal.h"

namespace tandrel {

namespace {

constexpr int kRefused = 2;
constexpr int kFailed = 1;

const char* kUsage =
    "usage: tandrel-results [--results FILE] COMMAND\n"
    "  list [--since TIME] [--port N] [--result Success|Fail] [--json|--csv]\n"
    "  show UUID\n"
    "  ports [--json] [--port-alarm N]\n"
    "  export --csv FILE\n"
    "  check\n";

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

struct Command {
    std::string name;
    std::vector<std::string> args;
};

std::string OneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string OrNull(const std::optional<double>& value) { return value ? OneDecimal(*value) : "null"; }
std::string OrNull(const std::optional<std::int64_t>& value) { return value ? std::to_string(*value) : "null"; }
std::string OrDash(const std::optional<double>& value) { return value ? OneDecimal(*value) : "-"; }

// A port is listed once it has a phone or a clear to show.
bool Listed(const PortHealth& health, int port) {
    return health.Figures(port).phones > 0 || health.ClearedAt(port) != 0;
}

std::string PortJson(const PortHealth& health, int port) {
    const PortFigures f = health.Figures(port);
    const PortFlag& flag = health.Flag(port);
    const std::int64_t cleared = health.ClearedAt(port);
    return "{\"port\":" + std::to_string(port) + ",\"phones\":" + std::to_string(f.phones) +
           ",\"successes\":" + std::to_string(f.successes) + ",\"yield\":" + OneDecimal(f.yield.value_or(0.0)) +
           ",\"failures_in_a_row\":" + std::to_string(f.inRow) +
           ",\"median_ms\":" + std::to_string(f.medianMs.value_or(0)) + ",\"yield20\":" + OrNull(f.yield20) +
           ",\"shiftYield\":" + OrNull(f.shiftYield) + ",\"inRow\":" + std::to_string(f.inRow) +
           ",\"successMedianMs\":" + OrNull(f.successMedianMs) + ",\"flagged\":" + (flag.flagged ? "true" : "false") +
           ",\"reason\":" + (flag.flagged ? Journal::Quote(flag.reason) : std::string("null")) +
           ",\"clearedMs\":" + (cleared ? std::to_string(cleared) : std::string("null")) + "}";
}

std::string PortRow(const PortHealth& health, int port) {
    const PortFigures f = health.Figures(port);
    const PortFlag& flag = health.Flag(port);
    const std::string successMedian = f.successMedianMs ? std::to_string(*f.successMedianMs) : "-";
    char line[192];
    std::snprintf(line, sizeof line, "%4d  %6d  %9d  %6s  %17d  %9lld  %8s  %6s  %17s", port, f.phones, f.successes,
                  OneDecimal(f.yield.value_or(0.0)).c_str(), f.inRow, static_cast<long long>(f.medianMs.value_or(0)),
                  OrDash(f.yield20).c_str(), OrDash(f.shiftYield).c_str(), successMedian.c_str());
    return std::string(line) + (flag.flagged ? "  FLAGGED: " + flag.reason : "");
}

std::string ListLine(const ResultRecord& r) {
    char head[128];
    std::snprintf(head, sizeof head, "%6lld  %s  port %d  %-7s  ", static_cast<long long>(r.sequence),
                  FormatUtcTime(r.resultMs).c_str(), r.device, r.success ? "Success" : "Fail");
    std::string line = head + r.uuid;
    if (!r.success) line += "  " + r.failStage + ": " + r.failText;
    return line;
}

void ShowRecord(const ResultRecord& r, std::ostream& out) {
    const auto time = [](long long ms) { return ms ? FormatUtcTime(ms) : std::string("-"); };
    out << "uuid:            " << r.uuid << "\n"
        << "sequence:        " << r.sequence << "\n"
        << "station:         " << r.station << "\n"
        << "run:             " << r.runUuid << "\n"
        << "mode:            " << r.mode << "\n"
        << "channel:         " << r.channel << "\n"
        << "device:          " << r.device << "\n"
        << "device path:     " << r.devicePath << "\n"
        << "result:          " << (r.success ? "Success" : "Fail") << "\n";
    if (!r.success) {
        out << "failed in:       " << r.failStage << (r.failItem.empty() ? "" : " (" + r.failItem + ")") << "\n"
            << "failure text:    " << r.failText << "\n";
        if (!r.reason.empty()) out << "reason:          " << r.reason << "\n";
    }
    out << "last row text:   " << r.rowText << "\n";
    for (std::size_t i = 0; i < r.images.size(); ++i) {
        const std::string hash = i < r.sha256.size() && !r.sha256[i].empty() ? r.sha256[i] : "-";
        out << "image:           " << r.images[i] << "  " << hash << "\n";
    }
    out << "library version: " << r.libraryVersion << "\n"
        << "station version: " << r.stationVersion << "\n"
        << "armed:           " << time(r.armedMs) << "\n"
        << "items done:      " << time(r.itemsDoneMs) << "\n"
        << "unplugged:       " << time(r.unpluggedMs) << "\n"
        << "result:          " << time(r.resultMs) << "\n";
}

class Tool {
public:
    Tool(std::string path, std::ostream& out, std::ostream& err) : path_(std::move(path)), out_(out), err_(err) {}

    int Run(const Command& c) {
        if (c.name == "list") return List(c.args);
        if (c.name == "show") return Show(c.args);
        if (c.name == "ports") return Ports(c.args);
        if (c.name == "export") return Export(c.args);
        if (c.name == "check") return c.args.empty() ? Check() : Refuse("check takes no arguments");
        return Refuse(c.name.empty() ? "no command" : "unknown command " + c.name);
    }

private:
    int Refuse(const std::string& why) {
        err_ << "tandrel-results: " << why << "\n" << kUsage;
        return kRefused;
    }
    int Fail(const std::string& why) {
        err_ << "tandrel-results: " << why << "\n";
        return kFailed;
    }

    bool Open() {
        std::string error;
        store_ = ResultStore::Open(path_, false, error);
        if (!store_) err_ << "tandrel-results: " << error << "\n";
        return store_ != nullptr;
    }

    bool Read(const ResultFilter& filter, std::vector<ResultRecord>& records) {
        std::string error;
        if (!Open()) return false;
        if (store_->Results(filter, records, error)) return true;
        err_ << "tandrel-results: " << error << "\n";
        return false;
    }

    int List(const std::vector<std::string>& args) {
        ResultFilter filter;
        std::string format;
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& a = args[i];
            const bool hasValue = i + 1 < args.size();
            if (a == "--json" || a == "--csv") {
                format = a;
            } else if (a == "--since" && hasValue) {
                long long ms = 0;
                if (!ParseUtcTime(args[++i], ms)) return Refuse("--since takes a UTC time, not " + args[i]);
                filter.sinceMs = ms;
            } else if (a == "--port" && hasValue) {
                filter.port = std::atoi(args[++i].c_str());
                if (filter.port < 1 || filter.port > 8) return Refuse("--port takes 1 to 8, not " + args[i]);
            } else if (a == "--result" && hasValue) {
                const std::string& value = args[++i];
                if (value != "Success" && value != "Fail") return Refuse("--result takes Success or Fail");
                filter.success = value == "Success";
            } else {
                return Refuse("list does not take " + a + (hasValue ? "" : " here"));
            }
        }
        std::vector<ResultRecord> records;
        if (!Read(filter, records)) return kFailed;
        if (format == "--csv") out_ << ResultCsvHeader() << "\n";
        for (const ResultRecord& r : records) {
            out_ << (format == "--json" ? ResultJson(r) : format == "--csv" ? ResultCsv(r) : ListLine(r)) << "\n";
        }
        return 0;
    }

    int Show(const std::vector<std::string>& args) {
        if (args.size() != 1) return Refuse("show takes one UUID");
        ResultFilter filter;
        filter.uuid = args[0];
        std::vector<ResultRecord> records;
        if (!Read(filter, records)) return kFailed;
        if (records.empty()) return Fail("no result " + args[0] + " in " + path_);
        ShowRecord(records.front(), out_);
        return 0;
    }

    int Ports(const std::vector<std::string>& args) {
        bool json = false;
        int alarm = PortHealth::kDefaultAlarm;
        for (std::size_t i = 0; i < args.size(); ++i) {
            if (args[i] == "--json") {
                json = true;
            } else if (args[i] == "--port-alarm" && i + 1 < args.size()) {
                if (!ParsePortAlarm(args[++i], alarm)) return Refuse(PortAlarmRefusal(args[i]));
            } else {
                return Refuse("ports takes only --json and --port-alarm N");
            }
        }
        if (!Open()) return kFailed;
        PortHistory history;
        std::string error;
        if (!store_->LoadPortHistory(LocalDayStartMs(TheSystemWallClock().UtcMs()), history, error)) return Fail(error);
        PortHealth health(alarm);
        health.Load(history);
        if (!json) {
            out_ << "port  phones  successes  yield%  failures-in-a-row  median-ms  yield20%  shift%  success-median-ms\n";
        }
        for (int port = 1; port <= PortHealth::kPorts; ++port) {
            if (Listed(health, port)) out_ << (json ? PortJson(health, port) : PortRow(health, port)) << "\n";
        }
        return 0;
    }

    int Export(const std::vector<std::string>& args) {
        if (args.size() != 2 || args[0] != "--csv") return Refuse("export takes --csv FILE");
        std::vector<ResultRecord> records;
        if (!Read({}, records)) return kFailed;
        std::ofstream file(args[1], std::ios::binary | std::ios::trunc);
        file << ResultCsvHeader() << "\r\n";
        for (const ResultRecord& r : records) file << ResultCsv(r) << "\r\n";
        file.close();
        if (!file) return Fail("cannot write " + args[1]);
        return 0;
    }

    int Check() {
        if (!Open()) return kFailed;
        StoreCheck check;
        std::string error;
        if (!store_->Check(check, error)) return Fail(error);
        for (const std::string& line : check.damage) out_ << "damaged: " << line << "\n";
        for (const long long sequence : check.missing) out_ << "missing: sequence " << sequence << "\n";
        const bool sound = check.damage.empty() && check.missing.empty();
        out_ << path_ << ": " << check.results << " results, " << (sound ? "no damage, no gap" : "FAULTS FOUND")
             << "\n";
        return sound ? 0 : kFailed;
    }

    std::string path_;
    std::ostream& out_;
    std::ostream& err_;
    std::unique_ptr<ResultStore> store_;
};

}  // namespace

bool ParseUtcTime(const std::string& text, long long& ms) {
    if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos) {
        ms = std::stoll(text);
        return true;
    }
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, used = 0;
    const int fields = std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &y, &mo, &d, &used);
    if (fields != 3) return false;
    std::string rest = text.substr(static_cast<std::size_t>(used));
    if (!rest.empty() && rest.back() == 'Z') rest.pop_back();
    if (!rest.empty()) {
        int consumed = 0;
        const int got = std::sscanf(rest.c_str(), "T%2d:%2d%n:%2d%n", &h, &mi, &consumed, &s, &consumed);
        if (got < 2 || static_cast<std::size_t>(consumed) != rest.size()) return false;
    }
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 60) return false;
    const long long days = DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d));
    ms = ((days * 24 + h) * 60 + mi) * 60000LL + s * 1000LL;
    return true;
}

std::string FormatUtcTime(long long ms) {
    const long long days = (ms >= 0 ? ms : ms - 86399999) / 86400000;
    long long rest = ms - days * 86400000;
    // Civil date from days (the inverse of DaysFromCivil).
    const long long z = days + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const long long y = static_cast<long long>(yoe) + era * 400 + (m <= 2);
    const long long h = rest / 3600000;
    rest %= 3600000;
    char text[96];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02lld:%02lld:%02lld.%03lldZ", y, m, d, h, rest / 60000,
                  (rest % 60000) / 1000, rest % 1000);
    return text;
}

int RunResultsTool(const std::vector<std::string>& args, const std::string& defaultStore, std::ostream& out,
                   std::ostream& err) {
    std::string path = defaultStore;
    std::size_t i = 0;
    if (i < args.size() && (args[i] == "--help" || args[i] == "-h")) {
        out << kUsage;
        return 0;
    }
    if (i < args.size() && args[i] == "--results") {
        if (i + 1 >= args.size()) {
            err << "tandrel-results: --results needs a value\n" << kUsage;
            return kRefused;
        }
        path = args[i + 1];
        i += 2;
    }
    if (path.empty()) {
        err << "tandrel-results: the system names no folder for the results store; give --results FILE\n";
        return kRefused;
    }
    Command command;
    if (i < args.size()) command.name = args[i++];
    command.args.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    return Tool(path, out, err).Run(command);
}

}  // namespace tandrel
