// The command line: makes symbol files from script records.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
        std::puts("usage: strixel '{type:\"EAN 13\", data:\"400638133393\", saveto:\"out.eps\"}'");
        return 0;
    }
    std::fputs("strixel: the symbol writer is not built yet\n", stderr);
    return 1;
}
