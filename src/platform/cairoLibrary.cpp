#include "platform/cairoLibrary.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {

namespace {

constexpr const char* kCairoSoname = "libcairo.so.2";
constexpr int kCannotDraw = 70;  // EX_SOFTWARE: the installation lacks a part

[[noreturn]] void cannotLoad(const std::string& why) {
    std::fprintf(stderr, "strixel: %s\n", why.c_str());
    std::exit(kCannotDraw);
}

CairoLibrary load() {
    CairoLibrary l;
    void* handle = dlopen(kCairoSoname, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* e = dlerror();
        cannotLoad(std::string("the cairo library cannot be loaded (") + (e ? e : kCairoSoname) +
                   "): install libcairo2");
    }
#define STRIXEL_CAIRO_LOAD(name)                                        \
    l.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name)); \
    if (!l.name) cannotLoad(std::string("the cairo library ") + kCairoSoname + " lacks " #name);
    STRIXEL_CAIRO_FUNCTIONS(STRIXEL_CAIRO_LOAD)
#undef STRIXEL_CAIRO_LOAD
    // The library stays loaded for the rest of the run.
    return l;
}

}  // namespace

const CairoLibrary& cairoLibrary() {
    static const CairoLibrary loaded = load();
    return loaded;
}

}  // namespace platform
