// One world for every vector test: fresh settings and a document in memory.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "app/world.h"
#include "labels/labelDoc.h"
#include "picture/services.h"
#include "platform/files.h"
#include "support/cases.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/blocks.h"
#include "vector/shapes.h"
#include "vector/sink.h"
#include "vector/textruns.h"

struct VectorTest : ::testing::Test {
    void SetUp() override {
        ref_ = platform::FSOpenMemory();
        freshWorld();
        seen_ = 0;
    }
    // Every setting back to its start value; the document stays open.
    void freshWorld() {
        resetWorld();
        resetShapeState();
        resetBlockState();
        resetTextRunState();
        resetPictureServices();
        gMsg.quiet = true;
        gVec.filRef = ref_;
    }
    void TearDown() override { platform::FSClose(ref_); }

    // Everything written since the last call.
    std::string written() {
        const std::string& all = platform::FSMemoryContents(ref_);
        std::string s = all.substr(seen_);
        seen_ = all.size();
        return s;
    }
    // Sets the dialect and forgets what was written so far.
    void dialect(int32_t ill) {
        gOut.ill = ill;
        written();
    }

  private:
    platform::FileRef ref_ = 0;
    size_t seen_ = 0;
};

// Lines of a carriage-return text, for readable failure output.
inline std::string crToLf(std::string s) {
    for (char& c : s)
        if (c == '\r') c = '\n';
    return s;
}

// The carriage-return lines of a text.
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : text) {
        if (c == '\r') {
            out.push_back(cur);
            cur.clear();
        } else {
            cur.push_back(c);
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

// The golden text of that name in tests/data/vector/written.txt; a failure
// when there is none.
inline std::string golden(const std::string& name) {
    static const std::map<std::string, std::string> texts = [] {
        std::map<std::string, std::string> m;
        for (const testsupport::CaseLine& c : testsupport::readCases("vector/written.txt", 2))
            m[c[0]] = c[1];
        return m;
    }();
    const auto it = texts.find(name);
    if (it != texts.end()) return it->second;
    ADD_FAILURE() << "no golden text " << name;
    return "";
}

// A text as a field of a case file, so that a new or changed golden text can be
// pasted from the failure message.
inline std::string asCaseField(const std::string& text) {
    std::string out;
    for (size_t k = 0; k < text.size(); ++k) {
        const unsigned char c = static_cast<unsigned char>(text[k]);
        const bool edge = c == ' ' && (k == 0 || k + 1 == text.size());
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\\' || c == '|') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7f || edge) {
            static const char kHex[] = "0123456789ABCDEF";
            out += std::string("\\x") + kHex[c >> 4] + kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// One writer call and the golden text it must write.
struct GoldenCase {
    const char* name;
    int32_t ill;
    std::function<void()> write;
};

// Each case from fresh settings (then `setUp`), in its dialect.
inline void expectGoldens(VectorTest& t, std::initializer_list<GoldenCase> cases,
                          const std::function<void()>& setUp = {}) {
    for (const GoldenCase& c : cases) {
        t.freshWorld();
        if (setUp) setUp();
        t.dialect(c.ill);
        c.write();
        const std::string got = t.written();
        EXPECT_EQ(got, golden(c.name)) << c.name << " | " << asCaseField(got);
    }
}
