#include "platform/tiffLibrary.h"

#include <dlfcn.h>

namespace platform {

namespace {

constexpr const char* kTiffSoname = "libtiff.so.6";

struct Loaded {
    TiffLibrary functions;
    bool ok = false;
    std::string why;
};

Loaded load() {
    Loaded l;
    void* handle = dlopen(kTiffSoname, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* e = dlerror();
        l.why = std::string("the TIFF library cannot be loaded (") + (e ? e : kTiffSoname) +
                "): install libtiff6";
        return l;
    }
#define STRIXEL_TIFF_LOAD(name)                                                   \
    l.functions.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name)); \
    if (!l.functions.name) {                                                      \
        l.why = std::string("the TIFF library ") + kTiffSoname + " lacks " #name; \
        return l;                                                                 \
    }
    STRIXEL_TIFF_FUNCTIONS(STRIXEL_TIFF_LOAD)
#undef STRIXEL_TIFF_LOAD
    // The library stays loaded for the rest of the run.
    l.ok = true;
    return l;
}

}  // namespace

const TiffLibrary* tiffLibrary(std::string* why) {
    static const Loaded loaded = load();
    if (!loaded.ok) {
        if (why) *why = loaded.why;
        return nullptr;
    }
    return &loaded.functions;
}

}  // namespace platform
