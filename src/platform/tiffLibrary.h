// libtiff, loaded the first time a TIFF file is written or read. Most runs make
// vector files, and libtiff brings half a dozen compression libraries whose
// loading was a large share of a short run's start-up.
#pragma once

#include <tiffio.h>

#include <string>

namespace platform {

// clang-format off
#define STRIXEL_TIFF_FUNCTIONS(X) \
    X(TIFFClientOpen) \
    X(TIFFClose) \
    X(TIFFFlush) \
    X(TIFFGetField) \
    X(TIFFReadRGBAImageOriented) \
    X(TIFFSetErrorHandler) \
    X(TIFFSetField) \
    X(TIFFSetWarningHandler) \
    X(TIFFWriteRawStrip) \
    X(TIFFWriteScanline)
// clang-format on

struct TiffLibrary {
#define STRIXEL_TIFF_POINTER(name) decltype(&::name) name = nullptr;
    STRIXEL_TIFF_FUNCTIONS(STRIXEL_TIFF_POINTER)
#undef STRIXEL_TIFF_POINTER
};

// The library's functions, loaded once; null, with the reason in *why, when the
// library or one of its functions cannot be loaded.
const TiffLibrary* tiffLibrary(std::string* why);

}  // namespace platform
