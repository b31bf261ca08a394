// DataBar Limited, Expanded, Expanded Stacked, the coupon and MicroPDF417 from
// the command line: the EPS is rendered by Ghostscript and read back where a
// reader exists; the others must at least render inside their box.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "automation/cli.h"
#include "support/reader.h"

namespace {

int run(const std::string& record, std::string* errors = nullptr) {
    const char* argv[] = {"strixel", record.c_str()};
    std::istringstream in;
    std::ostringstream out, err;
    const int status = runCommandLine(2, argv, in, out, err);
    if (errors) *errors = err.str();
    return status;
}

std::string record(const std::string& type, const std::string& data, const std::string& path,
                   const std::string& options = "") {
    std::string r = "{type:\"" + type + "\", data:\"" + data + "\"";
    if (!options.empty()) r += ", options:\"" + options + "\"";
    return r + ", saveto:\"" + path + "\"}";
}

testsupport::Bitmap rendered(const std::string& path) {
    testsupport::Rendered r = testsupport::renderWithGhostscript(path, 400, true);
    EXPECT_TRUE(r.ok) << r.err;
    return testsupport::cropToInk(r.bitmap, 80);
}

constexpr const char* kExample = "(01)98898765432106(3202)012345(15)991231";

TEST(DataBarCommandLine, ExpandedAndStackedReadBack) {
    const struct {
        const char* type;
        const char* options;
    } cases[] = {{"Databar Expanded", ""}, {"Databar", "2"}, {"Databar", "4"}, {"Databar", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.options);
        const std::string path = testsupport::tempPath("expanded.eps");
        std::string err;
        ASSERT_EQ(run(record(c.type, kExample, path, c.options), &err), 0) << err;
        const testsupport::Decoded d = testsupport::decode(rendered(path), "DataBarExpanded");
        EXPECT_EQ(d.text, kExample) << d.error;
    }
}

TEST(DataBarCommandLine, CouponCarriesItsWholeHeader) {
    const std::string path = testsupport::tempPath("coupon.eps");
    std::string err;
    ASSERT_EQ(
        run(record("Databar Coupon", "(8110)106141416543213500110000310123196000", path), &err), 0)
        << err;
    EXPECT_NE(testsupport::slurp(path).find("0614141-654321"), std::string::npos);
    const testsupport::Decoded d = testsupport::decode(rendered(path), "DataBarExpanded");
    EXPECT_EQ(d.text, "(8110)106141416543213500110000310123196000") << d.error;
}

TEST(DataBarCommandLine, LimitedAndMicroPdfRenderInsideTheirBox) {
    const struct {
        const char* type;
        const char* data;
    } cases[] = {{"Databar Limited", "1501234567890"},
                 {"Micro PDF417", "MicroPDF417 from the command line, 2024"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const std::string path = testsupport::tempPath("symbol.eps");
        std::string err;
        ASSERT_EQ(run(record(c.type, c.data, path), &err), 0) << err;
        double llx = 0, lly = 0, urx = 0, ury = 0;
        ASSERT_TRUE(testsupport::inkBoundingBox(path, &llx, &lly, &urx, &ury));
        EXPECT_GT(urx - llx, 20);
        EXPECT_GT(ury - lly, 5);
    }
}

TEST(DataBarCommandLine, RefusedDataLeavesNoFile) {
    const struct {
        const char* type;
        std::string data;
        const char* says;
    } cases[] = {
        {"Databar Limited", "2000000000000", "2000000000000"},
        {"Micro PDF417", std::string(149, 'x'), "148"},
        {"Databar Expanded", "(01)98898765432106(10)ABCDEFGHIJKLMNOPQRST(21)ABCDEFGHIJKLMNOPQRST",
         "too long"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const std::string path = testsupport::tempPath("refused.eps");
        std::string err;
        EXPECT_EQ(run(record(c.type, c.data, path), &err), 1);
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
        EXPECT_EQ(testsupport::slurp(path), "");
    }
}

}  // namespace
