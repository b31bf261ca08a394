// Shared by the fuzz targets: how an input becomes a symbol request, how a
// finding is reported, and what a well-formed result looks like. The targets
// are compiled into the libFuzzer programs (fuzz/) and into the replay test
// (tests/fuzz_replay/), so nothing here may use a libFuzzer-only call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdlib.h>  // setenv, mkdtemp

#include <filesystem>
#include <string>
#include <system_error>

#include "app/world.h"
#include "symbology/Filters.h"
#include "symbology/appBits.h"
#include "symbology/messages.h"
#include "symbology/state.h"

// A target is compiled with its entry under a name of its own in the replay
// build, where the targets share one program.
#ifndef STRIXEL_FUZZ_ENTRY
#define STRIXEL_FUZZ_ENTRY LLVMFuzzerTestOneInput
#endif

namespace fuzzing {

// Data longer than this is not a request anyone sends.
constexpr size_t kMaxData = 5000;
constexpr size_t kMaxOptions = 300;
constexpr int32_t kCodeChoices = 48;  // 43..47 are no code type

// Flag bits of the third byte.
constexpr uint8_t kFlagNoCheck = 1;       // nCheck = 1
constexpr uint8_t kFlagHighVariant = 2;   // variant + 256
constexpr uint8_t kFlagNoText = 4;        // human = 0
constexpr uint8_t kFlagTypeDefaults = 8;  // apply the code type's defaults first

// Input layout: code byte, variant byte, flag byte, the options (or add-on)
// text up to the first line feed, then the data.
struct Request {
    int32_t code = 0;
    int32_t variant = 0;
    uint8_t flags = 0;
    std::string options;
    std::string data;
};

inline bool parseRequest(const uint8_t* in, size_t n, Request* r) {
    if (n < 3) return false;
    r->code = in[0] % kCodeChoices;
    r->variant = in[1] + ((in[2] & kFlagHighVariant) ? 256 : 0);
    r->flags = in[2];
    size_t i = 3;
    while (i < n && in[i] != '\n') ++i;
    if (i == n) {  // no line feed: all data, no options
        r->data.assign(reinterpret_cast<const char*>(in + 3), n - 3);
    } else {
        r->options.assign(reinterpret_cast<const char*>(in + 3), i - 3);
        r->data.assign(reinterpret_cast<const char*>(in + i + 1), n - i - 1);
    }
    return r->options.size() <= kMaxOptions && r->data.size() <= kMaxData;
}

// An environment variable set for a while, put back as it was when the check ends.
struct KeptVariable {
    std::string name, value;
    bool had = false;
    KeptVariable(const char* n, const std::string& now) : name(n) {
        if (const char* v = std::getenv(n)) had = true, value = v;
        ::setenv(n, now.c_str(), 1);
    }
    ~KeptVariable() {
        had ? (void)::setenv(name.c_str(), value.c_str(), 1) : (void)::unsetenv(name.c_str());
    }
};

// A folder of this process for the files a run makes, on memory-backed storage
// where there is one; removed when the process ends. Empty when none can be made.
struct WorkFolder {
    std::filesystem::path path;
    explicit WorkFolder(const std::string& target) {
        for (const char* root : {"/dev/shm", "/tmp"}) {
            std::string name = std::string(root) + "/strixel-" + target + "-fuzz-XXXXXX";
            if (::mkdtemp(name.data())) {
                path = name;
                return;
            }
        }
    }
    ~WorkFolder() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
};

inline Request* gCurrent = nullptr;  // the request being run, for the report

// Sets the world as the main window would before generating: fresh settings,
// the code type chosen, the fields split into the data buffers.
inline void loadRequest(const Request& r) {
    resetWorld();
    resetMessages();
    gMsg.quiet = true;
    gSym.code = r.code;
    gSym.variation1 = r.variant;
    if (r.flags & kFlagTypeDefaults) GetCodeText();
    if (r.flags & kFlagNoCheck) gSym.nCheck = 1;
    if (r.flags & kFlagNoText) gSym.human = 0;
    Gettw(r.data.c_str(), static_cast<int32_t>(r.data.size()), r.options.c_str(),
          static_cast<int32_t>(r.options.size()));
}

inline std::string printable(const std::string& s, size_t most = 200) {
    std::string out;
    for (size_t i = 0; i < s.size() && i < most; ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= 32 && c < 127 && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char e[8];
            std::snprintf(e, sizeof e, "\\x%02X", c);
            out += e;
        }
    }
    if (s.size() > most) out += "...";
    return out;
}

// The replay test turns a finding into a test failure and goes on with the
// next file; under libFuzzer a finding stops the run with the input saved.
inline void (*gFailHook)(const std::string& what) = nullptr;

inline void fail(const std::string& what) {
    std::string text = "finding: " + what;
    if (gCurrent != nullptr) {
        char head[80];
        std::snprintf(head, sizeof head, "\n  code %d variant %d flags %d", gCurrent->code,
                      gCurrent->variant, gCurrent->flags);
        text += head;
        text += "\n  options \"" + printable(gCurrent->options) + "\"";
        text += "\n  data \"" + printable(gCurrent->data) + "\"";
    }
    if (gFailHook != nullptr) {
        gFailHook(text);
        return;
    }
    std::fprintf(stderr, "%s\n", text.c_str());
    std::abort();
}

inline bool isTwoDimensional(int32_t code) { return code == 38 || code == 40 || code == 42; }

// What every run of the dispatcher must leave behind: result 1 with a message
// (or silently for empty data), or a bounded list whose rows are all ended.
// Returns false after reporting a finding.
inline bool checkOutcome(int32_t result, bool emptyData) {
    if (result != 0 && result != 1) {
        fail("the dispatcher returned " + std::to_string(result));
        return false;
    }
    if (gEl.overflow || gEl.cu_len < 0 || gEl.cu_len > static_cast<int32_t>(kElementListSize)) {
        fail("element list overflowed or out of bounds: cu_len " + std::to_string(gEl.cu_len));
        return false;
    }
    if (result == 1) {
        if (!emptyData && (gMsg.shown == 0 || gMsg.last.empty())) {
            fail("refused without a message");
            return false;
        }
        if (gEl.cu_len != 0) {
            fail("refused but left " + std::to_string(gEl.cu_len) + " bytes in the element list");
            return false;
        }
        return true;
    }
    if (emptyData) {
        fail("empty data reported as a symbol");
        return false;
    }
    const int32_t n = gEl.cu_len;
    if (n == 0) {
        fail("success with an empty element list");
        return false;
    }
    if (gEl.chNum[0] == 13) {
        fail("the first row is empty");
        return false;
    }
    int32_t lastRowEnd = -1;
    for (int32_t i = 0; i < n; ++i)
        if (gEl.chNum[i] == 13) lastRowEnd = i;
    // ITF-6 alone ends its rows without the last 13 (its text stands above).
    if (lastRowEnd < 0 && gSym.code != 14) {
        fail("no row of the element list is ended by 13");
        return false;
    }
    if (!isTwoDimensional(gSym.code)) return true;  // a text line may follow the rows

    // Module rows and block-letter bands: every row ended, all of one width,
    // nothing but modules, and the NUL behind the counted bytes.
    if (lastRowEnd != n - 1) {
        fail("the last row of a two-dimensional symbol is not ended by 13");
        return false;
    }
    if (gEl.chNum[n] != 0) {
        fail("no NUL behind the two-dimensional element list");
        return false;
    }
    const bool blocks = gSym.code != 42;
    int32_t width = -1, run = 0;
    for (int32_t i = 0; i < n; ++i) {
        const unsigned char b = gEl.chNum[i];
        if (b == 13) {
            if (width >= 0 && run != width) {
                fail("rows of unequal width: " + std::to_string(width) + " and " +
                     std::to_string(run));
                return false;
            }
            width = run;
            run = 0;
            continue;
        }
        const bool ok = blocks ? (b >= 'e' && b <= 'e' + 15) : (b == 190 || b == 59);
        if (!ok) {
            fail("byte " + std::to_string(b) + " is no module at " + std::to_string(i));
            return false;
        }
        ++run;
    }
    return true;
}

}  // namespace fuzzing
