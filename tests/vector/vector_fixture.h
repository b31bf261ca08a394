// One world for every vector test: fresh settings and a document in memory.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "labels/labelDoc.h"
#include "picture/services.h"
#include "platform/files.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/blocks.h"
#include "vector/shapes.h"
#include "vector/sink.h"
#include "vector/textruns.h"

struct VectorTest : ::testing::Test {
    void SetUp() override {
        resetWorld();
        resetShapeState();
        resetBlockState();
        resetTextRunState();
        resetPictureServices();
        gMsg.quiet = true;
        ref_ = platform::FSOpenMemory();
        gVec.filRef = ref_;
        seen_ = 0;
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
