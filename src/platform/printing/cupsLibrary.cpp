#include "platform/printing/cupsLibrary.h"

#include <dlfcn.h>

namespace print {

namespace {

constexpr const char* kCupsSoname = "libcups.so.2";

struct Loaded {
    CupsLibrary functions;
    bool ok = false;
    std::string why;
};

Loaded load() {
    Loaded l;
    void* handle = dlopen(kCupsSoname, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* e = dlerror();
        l.why = std::string("the printing system's library cannot be loaded (") +
                (e ? e : kCupsSoname) + "): install libcups2, or print to a .pdf or .ps file";
        return l;
    }
#define STRIXEL_CUPS_LOAD(name)                                                                \
    l.functions.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));              \
    if (!l.functions.name) {                                                                   \
        l.why = std::string("the printing system's library ") + kCupsSoname + " lacks " #name; \
        return l;                                                                              \
    }
    STRIXEL_CUPS_FUNCTIONS(STRIXEL_CUPS_LOAD)
#undef STRIXEL_CUPS_LOAD
    // The library stays loaded for the rest of the run.
    l.ok = true;
    return l;
}

}  // namespace

const CupsLibrary* cupsLibrary(std::string* why) {
    static const Loaded loaded = load();
    if (!loaded.ok) {
        if (why) *why = loaded.why;
        return nullptr;
    }
    return &loaded.functions;
}

}  // namespace print
