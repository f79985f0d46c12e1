#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "library/LibraryTable.h"
#include "platform/WindowLoop.h"

namespace tandrel::test {

// One call the engine made into the library.
struct LibraryCall {
    std::string entry;  // open, close, boot, fls, eep, dffs, cust, abort, reset
    int channel = 0;
    std::string text;  // port names, boot path or file spec
    std::vector<int> args;
    std::int64_t at = 0;

    bool operator==(const LibraryCall& o) const {
        return entry == o.entry && channel == o.channel && text == o.text && args == o.args;
    }
    friend void PrintTo(const LibraryCall& c, std::ostream* os) {
        *os << c.entry << "(" << c.channel << ", \"" << c.text << "\"";
        for (int a : c.args) *os << ", " << a;
        *os << ")@" << c.at;
    }
};

// A scripted stand-in for the download library: plain C-callable functions
// that record every call and answer as the test says.
struct FakeLibrary {
    std::vector<LibraryCall> calls;
    std::map<std::string, int> results;         // by entry; 0 when not given
    std::map<std::string, std::string> writes;  // what an entry leaves in the message buffer
    std::map<std::string, bool> throws;         // entries that throw after writing
    std::function<void(const LibraryCall&)> onCall;  // runs inside every call, once it is recorded
    const WindowLoop* clock = nullptr;

    // A fresh script, and a table of the nine entry points the engine calls.
    static FakeLibrary& Reset(const WindowLoop* clock);
    static LibraryTable Table();
    std::vector<std::string> Entries() const;
};

}  // namespace tandrel::test
