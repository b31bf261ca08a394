// libcups, loaded the first time something asks a printer queue. Making symbol
// files never needs it, and loading it with the two dozen libraries it brings
// (encryption, Kerberos, service discovery) was most of a short run's start-up.
#pragma once

#include <cups/cups.h>

#include <string>

namespace print {

// clang-format off
#define STRIXEL_CUPS_FUNCTIONS(X) \
    X(cupsGetDests2) \
    X(cupsGetDest) \
    X(cupsFreeDests) \
    X(cupsServer) \
    X(ippPort) \
    X(cupsEncryption) \
    X(httpConnect2) \
    X(httpClose) \
    X(cupsLastErrorString) \
    X(cupsCopyDestInfo) \
    X(cupsFindDestSupported) \
    X(cupsFreeDestInfo) \
    X(cupsGetDestMediaDefault) \
    X(ippGetCount) \
    X(ippGetResolution) \
    X(cupsGetOption) \
    X(cupsAddOption) \
    X(cupsFreeOptions) \
    X(cupsCreateJob) \
    X(cupsStartDocument) \
    X(cupsWriteRequestData) \
    X(cupsFinishDocument) \
    X(cupsCancelJob2)
// clang-format on

struct CupsLibrary {
#define STRIXEL_CUPS_POINTER(name) decltype(&::name) name = nullptr;
    STRIXEL_CUPS_FUNCTIONS(STRIXEL_CUPS_POINTER)
#undef STRIXEL_CUPS_POINTER
};

// The library's functions, loaded once; null, with the reason in *why, when the
// library or one of its functions cannot be loaded.
const CupsLibrary* cupsLibrary(std::string* why);

}  // namespace print
