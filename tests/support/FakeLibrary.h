#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "library/LibraryTable.h"
#include "plan/MemoryClass.h"
#include "platform/WindowLoop.h"

namespace tandrel::test {

// One call the station made into the library.
struct LibraryCall {
    // open, close, boot, fls, eep, dffs, cust, abort, reset; init, parameter,
    // version, signal, end.
    std::string entry;
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

// What the fake knows of an image file: its items in order.
struct FakeItem {
    std::string name;
    MemoryClass memoryClass = MemoryClass::None;
};

struct FakeFile {
    std::vector<FakeItem> items;
};

// The one stand-in for the download library: plain C-callable entry points
// that record every call and answer as the test says. Tests put its table
// into a window; the loader tests load it as a shared object of its own.
struct FakeLibrary {
    std::vector<LibraryCall> calls;
    std::map<std::string, int> results;         // by entry; 0 when not given
    std::map<std::string, std::string> writes;  // what an entry leaves in the message buffer
    std::map<std::string, bool> throws;         // entries that throw after writing
    std::function<void(const LibraryCall&)> onCall;  // runs inside every call, once it is recorded
    const WindowLoop* clock = nullptr;
    IFWD_DL_Callback callback = nullptr;  // what init_callback registered

    // The image files the table-of-contents entries answer for; a file they
    // do not know has no items. Those entries are not counted among calls.
    std::map<std::string, FakeFile> files;
    std::vector<std::string> countQueries;  // the files whose items were counted

    // A fresh script, and a table of every entry point.
    static FakeLibrary& Reset(const WindowLoop* clock);
    static LibraryTable Table();
    std::vector<std::string> Entries() const;
};

}  // namespace tandrel::test
