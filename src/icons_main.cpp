// strixel-icons: draws the program's icon into a folder for installation:
// strixel-48.png, strixel-128.png, strixel-256.png and strixel.svg.
#include <cstdio>
#include <string>

#include "app/icons.h"

namespace {
constexpr int kPngSizes[] = {48, 128, 256};
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: strixel-icons FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::string error;
    for (int size : kPngSizes) {
        if (!writeIconPng(folder + "/strixel-" + std::to_string(size) + ".png", size, &error)) {
            std::fprintf(stderr, "strixel-icons: %s\n", error.c_str());
            return 1;
        }
    }
    if (!writeIconSvg(folder + "/strixel.svg", &error)) {
        std::fprintf(stderr, "strixel-icons: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
