// tandrel-line: the line service. Stations send it their results; it keeps
// them in PostgreSQL and shows the line live.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <thread>

#include "line/LineDatabase.h"
#include "line/LineOptions.h"
#include "line/LineServer.h"
#include "line/LineTokens.h"

using namespace tandrel::line;

namespace {

// SIGTERM and SIGINT end the service: blocked in every thread, taken by one
// that stops the server.
sigset_t EndingSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    return set;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = ParseLineOptions({argv + 1, argv + argc}, error);
    if (!options) {
        std::fprintf(stderr, "tandrel-line: %s\n%s", error.c_str(), LineUsage().c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(LineUsage().c_str(), stdout);
        return 0;
    }
    LineTokens tokens;
    if (!options->tokens.empty() && !tokens.Load(options->tokens, error)) {
        std::fprintf(stderr, "tandrel-line: %s\n", error.c_str());
        return 2;
    }
    if (tokens.Empty()) std::fprintf(stderr, "tandrel-line: no station tokens: no station can send results\n");
    LineDatabase database(options->database);
    if (!database.Migrate(error)) {
        std::fprintf(stderr, "tandrel-line: %s\n", error.c_str());
        return 1;
    }
    const sigset_t ending = EndingSignals();
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    LineServer server(database, std::move(tokens));
    if (!server.Bind(options->host, options->port, error)) {
        std::fprintf(stderr, "tandrel-line: %s\n", error.c_str());
        return 1;
    }
    std::printf("tandrel-line: serving http://%s:%d/\n", options->host.c_str(), server.Port());
    std::fflush(stdout);
    std::thread stopper([&server, ending] {
        int signal = 0;
        sigwait(&ending, &signal);
        server.Stop();
    });
    server.Serve();
    // Served to the end without a signal (the socket failed): wake the stopper.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return 0;
}
