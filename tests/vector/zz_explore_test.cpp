#include <gtest/gtest.h>
#include <cstdio>
#include "paint_fixture.h"
#include "symbology/state.h"
using namespace painttest;
struct Case { const char* name; SymbolSpec s; };
TEST(Explore, Show) {
    Case cases[] = {
        {"isbn1310", {1, 4, "030640615", ""}},
        {"isbnx", {1, 0, "080442957", ""}},
        {"issn", {2, 0, "0317847", "12"}},
        {"ean8", {3, 0, "5512345", ""}},
        {"c128", {5, 0, "ABC-123abc", ""}},
        {"gs1128", {7, 0, "(01)95012345678903(3103)000123", ""}},
        {"pdf417", {42, 0, "PDF417 test data 12345", ""}},
    };
    for (auto& c : cases) { int ill = 95;
        std::string doc = writeSymbol(c.s, ill);
        std::string base = std::string("/tmp/x_") + c.name + "_" + std::to_string(ill);
        FILE* f = fopen((base + ".eps").c_str(), "wb"); fwrite(doc.data(), 1, doc.size(), f); fclose(f);
    }
}
