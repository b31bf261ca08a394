// Every dialect's frame and prolog, with a page that uses every operator of the
// dialect's page code, renders in Ghostscript without an error, and all its ink
// lies inside the declared bounding box.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "support/reader.h"
#include "symbology/state.h"
#include "vector/sink.h"
#include "doc_fixture.h"

using namespace vectortest;

namespace {

bool boxOf(const std::string& doc, double box[4]) {
    size_t p = doc.find("%%BoundingBox: ");
    if (p == std::string::npos) return false;
    std::istringstream in(doc.substr(p + 15));
    return static_cast<bool>(in >> box[0] >> box[1] >> box[2] >> box[3]);
}

class DialectRender : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(DialectRender, RendersWithoutErrorAndInksInsideItsBox) {
    // Plain variables: Clang 14 cannot capture a structured binding.
    const int ill = std::get<0>(GetParam());
    const int purePost = std::get<1>(GetParam());
    std::string doc =
        simpleDocument(ill, purePost, [ill] { TEInsert2(coveragePage(ill).c_str()); });
    ASSERT_EQ(gVec.writeFailed, 0);
    const bool pdf = ill == 1115;
    if (!pdf) doc = withStackProbes(doc);
    if (ill == 2) doc = showType3Glyph(doc);
    const std::string path = testsupport::tempPath(pdf ? "page.pdf" : "page.eps");
    ASSERT_TRUE(writeFile(path, doc));

    testsupport::Rendered r = testsupport::renderWithGhostscript(path, 72, purePost == 0 && !pdf);
    EXPECT_TRUE(r.ok) << r.err;
    EXPECT_EQ(r.err.find("Error"), std::string::npos) << r.err;
    if (!r.ok) return;
    // Some ink is there.
    int dark = 0;
    for (uint8_t px : r.bitmap.pixels) dark += px < 250;
    EXPECT_GT(dark, 50);

    if (ill == 2 || pdf) return;  // no box comments in a font; the PDF has its MediaBox
    double box[4];
    ASSERT_TRUE(boxOf(doc, box));
    double ink[4];
    ASSERT_TRUE(testsupport::inkBoundingBox(path, &ink[0], &ink[1], &ink[2], &ink[3]));
    EXPECT_GE(ink[0], box[0]);
    EXPECT_GE(ink[1], box[1]);
    EXPECT_LE(ink[2], box[2]);
    EXPECT_LE(ink[3], box[3]);
}

INSTANTIATE_TEST_SUITE_P(AllDialects, DialectRender,
                         ::testing::Combine(::testing::ValuesIn(kDialects),
                                            ::testing::Values(0, 1, 2)),
                         [](const auto& info) {
                             return "ill" + std::to_string(std::get<0>(info.param)) + "_pure" +
                                    std::to_string(std::get<1>(info.param));
                         });

}  // namespace
