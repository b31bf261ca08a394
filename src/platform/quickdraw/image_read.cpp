// Decoding image files into RGBA: libpng, libjpeg and libtiff, from memory.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "platform/quickdraw/image.h"
#include "platform/tiffLibrary.h"

namespace qd {
namespace {

// 64 million pixels (256 MB of RGBA) at most; larger claims are damage.
constexpr uint64_t kMaxPixels = uint64_t{1} << 26;
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;

bool tooLarge(uint64_t w, uint64_t h) { return w == 0 || h == 0 || w * h > kMaxPixels; }

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

// ---- PNG ------------------------------------------------------------------------

bool readPng(const unsigned char* data, size_t size, Image* out, std::string* error) {
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&img, data, size))
        return fail(error, std::string("the PNG file is damaged: ") + img.message);
    if (tooLarge(img.width, img.height)) {
        png_image_free(&img);
        return fail(error, "the PNG file's image is too large");
    }
    img.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> rgba(PNG_IMAGE_SIZE(img));
    if (!png_image_finish_read(&img, nullptr, rgba.data(), 0, nullptr)) {
        const std::string why = img.message;
        png_image_free(&img);
        return fail(error, "the PNG file is damaged or cut short: " + why);
    }
    out->width = static_cast<int>(img.width);
    out->height = static_cast<int>(img.height);
    out->pixels.resize(static_cast<size_t>(img.width) * img.height);
    for (size_t i = 0; i < out->pixels.size(); ++i) {
        const unsigned char* p = &rgba[4 * i];
        out->pixels[i] = (uint32_t{p[3]} << 24) | (p[0] << 16) | (p[1] << 8) | p[2];
    }
    return true;
}

// ---- JPEG -----------------------------------------------------------------------

struct JpegErrors {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void jpegFail(j_common_ptr cinfo) {
    auto* e = reinterpret_cast<JpegErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, e->message);
    std::longjmp(e->jump, 1);
}

// A warning (a file cut short among them) refuses the file, so decoding stops
// at the first: a damaged progression would otherwise be decoded scan after
// scan, each over the whole image, however many the file repeats.
void jpegMessage(j_common_ptr cinfo, int level) {
    if (level < 0) jpegFail(cinfo);
}

// Real progressive files have a few dozen scans at most; a file may hold
// hundreds of valid ones, each costing a pass over the whole image.
constexpr int kMostJpegScans = 256;

void jpegProgress(j_common_ptr cinfo) {
    const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMostJpegScans) {
        auto* e = reinterpret_cast<JpegErrors*>(cinfo->err);
        std::snprintf(e->message, sizeof e->message, "it has more than %d scans", kMostJpegScans);
        std::longjmp(e->jump, 1);
    }
}

// No C++ object lives across the jump: the rows go straight into out's pixels,
// which exist before it.
constexpr int kRgbComponents = 3, kCmykComponents = 4;

// An opaque pixel of CMYK samples; inverted ones hold 255 for no ink.
uint32_t rgbOfCmyk(const JSAMPLE* s, bool inverted) {
    constexpr unsigned kFull = 255;
    auto clear = [&](int i) { return inverted ? unsigned{s[i]} : kFull - s[i]; };
    const unsigned k = clear(3);
    auto channel = [&](int i) { return (clear(i) * k + kFull / 2) / kFull; };
    return 0xFF000000u | (channel(0) << 16) | (channel(1) << 8) | channel(2);
}

bool decodeJpeg(const unsigned char* data, size_t size, Image* out, JpegErrors* errors,
                jpeg_progress_mgr* progress, jpeg_decompress_struct* cinfo) {
    cinfo->err = jpeg_std_error(&errors->mgr);
    errors->mgr.error_exit = jpegFail;
    errors->mgr.emit_message = jpegMessage;
    errors->message[0] = 0;
    if (setjmp(errors->jump)) return false;
    jpeg_create_decompress(cinfo);
    progress->progress_monitor = jpegProgress;
    cinfo->progress = progress;
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(cinfo, TRUE);
    if (tooLarge(cinfo->image_width, cinfo->image_height)) {
        std::snprintf(errors->message, sizeof errors->message, "its image is too large");
        return false;
    }
    // libjpeg turns grey and YCbCr into RGB, but not CMYK: that is done here.
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(cinfo);
    const int components = cmyk ? kCmykComponents : kRgbComponents;
    if (cinfo->output_components != components) return false;
    // Files written by Adobe's programs (and most others since) keep CMYK inverted.
    const bool inverted = cmyk && cinfo->saw_Adobe_marker;
    out->width = static_cast<int>(cinfo->output_width);
    out->height = static_cast<int>(cinfo->output_height);
    out->pixels.assign(static_cast<size_t>(out->width) * out->height, 0);
    JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                 cinfo->output_width * components, 1);
    while (cinfo->output_scanline < cinfo->output_height) {
        const JDIMENSION y = cinfo->output_scanline;
        jpeg_read_scanlines(cinfo, row, 1);
        uint32_t* dst = &out->pixels[static_cast<size_t>(y) * out->width];
        for (int x = 0; x < out->width; ++x) {
            const JSAMPLE* s = row[0] + static_cast<size_t>(components) * x;
            dst[x] =
                cmyk ? rgbOfCmyk(s, inverted) : 0xFF000000u | (s[0] << 16) | (s[1] << 8) | s[2];
        }
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

bool readJpeg(const unsigned char* data, size_t size, Image* out, std::string* error) {
    JpegErrors errors;
    jpeg_progress_mgr progress{};
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    const bool ok = decodeJpeg(data, size, out, &errors, &progress, &cinfo);
    jpeg_destroy_decompress(&cinfo);
    if (!ok) {
        *out = {};
        return fail(error, std::string("the JPEG file is damaged or cut short") +
                               (errors.message[0] ? std::string(": ") + errors.message : ""));
    }
    return true;
}

// ---- TIFF -----------------------------------------------------------------------

struct Memory {
    const unsigned char* data;
    toff_t size;
    toff_t at;
};

tmsize_t memRead(thandle_t h, void* buf, tmsize_t n) {
    auto* m = static_cast<Memory*>(h);
    if (n < 0 || m->at >= m->size) return 0;
    const toff_t count = std::min<toff_t>(static_cast<toff_t>(n), m->size - m->at);
    std::memcpy(buf, m->data + m->at, count);
    m->at += count;
    return static_cast<tmsize_t>(count);
}
tmsize_t memWrite(thandle_t, void*, tmsize_t) { return 0; }
toff_t memSeek(thandle_t h, toff_t off, int whence) {
    auto* m = static_cast<Memory*>(h);
    toff_t base = whence == SEEK_CUR ? m->at : whence == SEEK_END ? m->size : 0;
    m->at = base + off;
    return m->at;
}
int memClose(thandle_t) { return 0; }
toff_t memSize(thandle_t h) { return static_cast<Memory*>(h)->size; }
int memMap(thandle_t, void**, toff_t*) { return 0; }
void memUnmap(thandle_t, void*, toff_t) {}

std::string gTiffMessage;
void tiffError(const char*, const char* fmt, va_list ap) {
    char buf[256];
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    if (gTiffMessage.empty()) gTiffMessage = buf;
}
void tiffWarning(const char*, const char*, va_list) {}

// libtiff decodes a strip or tile into one buffer of the size the tags give,
// zeroed first, before it finds the file holds none of it: a few hundred bytes
// claiming thousands of samples a pixel cost gigabytes and seconds. Four
// samples of 16 bits a pixel over the most pixels taken is the largest image
// data a real file brings.
constexpr uint64_t kMostDecodedBytes = kMaxPixels * 8;

bool tiffDataTooLarge(const platform::TiffLibrary& lib, TIFF* tif, uint32_t w, uint32_t h) {
    uint16_t samples = 1, bits = 1;
    lib.TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    lib.TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    const uint64_t bitsPerPixel = uint64_t{samples} * bits;
    auto bytes = [&](uint64_t width, uint64_t height) {
        const uint64_t row = (width * bitsPerPixel + 7) / 8;
        return row > kMostDecodedBytes / height ? kMostDecodedBytes + 1 : row * height;
    };
    if (bytes(w, h) > kMostDecodedBytes) return true;
    uint32_t tileW = 0, tileH = 0;
    if (lib.TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileW) &&
        lib.TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileH))
        return tooLarge(tileW, tileH) || bytes(tileW, tileH) > kMostDecodedBytes;
    return false;
}

bool readTiff(const unsigned char* data, size_t size, Image* out, std::string* error) {
    std::string why;
    const platform::TiffLibrary* lib = platform::tiffLibrary(&why);
    if (!lib) return fail(error, why);
    gTiffMessage.clear();
    const TIFFErrorHandler oldError = lib->TIFFSetErrorHandler(tiffError);
    const TIFFErrorHandler oldWarning = lib->TIFFSetWarningHandler(tiffWarning);
    Memory mem{data, size, 0};
    bool ok = false;
    TIFF* tif = lib->TIFFClientOpen("image", "rm", &mem, memRead, memWrite, memSeek, memClose,
                                    memSize, memMap, memUnmap);
    uint32_t w = 0, h = 0;
    bool large = false;
    if (tif && lib->TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w) &&
        lib->TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h))
        large = w && h && (tooLarge(w, h) || tiffDataTooLarge(*lib, tif, w, h));
    if (tif && w && h && !large) {
        std::vector<uint32_t> raster(static_cast<size_t>(w) * h);
        // A strip cut short reads as an error here, not as a partial image.
        if (lib->TIFFReadRGBAImageOriented(tif, w, h, raster.data(), ORIENTATION_TOPLEFT, 1) &&
            gTiffMessage.empty()) {
            out->width = static_cast<int>(w);
            out->height = static_cast<int>(h);
            out->pixels.resize(raster.size());
            for (size_t i = 0; i < raster.size(); ++i) {
                const uint32_t p = raster[i];
                out->pixels[i] =
                    (TIFFGetA(p) << 24) | (TIFFGetR(p) << 16) | (TIFFGetG(p) << 8) | TIFFGetB(p);
            }
            ok = true;
        }
    }
    if (tif) lib->TIFFClose(tif);
    lib->TIFFSetErrorHandler(oldError);
    lib->TIFFSetWarningHandler(oldWarning);
    if (!ok) {
        if (large) return fail(error, "the TIFF file's image is too large");
        return fail(error, "the TIFF file is damaged or cut short" +
                               (gTiffMessage.empty() ? std::string() : ": " + gTiffMessage));
    }
    return true;
}

bool startsWith(const unsigned char* d, size_t n, const char* magic, size_t m) {
    return n >= m && std::memcmp(d, magic, m) == 0;
}

}  // namespace

const std::vector<ImageKind>& ReadableImageKinds() {
    static const std::vector<ImageKind> kinds{
        {"PNG", "png", "PNGf"}, {"JPEG", "jpg jpeg", "JPEG"}, {"TIFF", "tif tiff", "TIFF"}};
    return kinds;
}

bool ReadImage(const unsigned char* data, size_t size, Image* out, std::string* error) {
    *out = {};
    if (!data) size = 0;
    if (startsWith(data, size, "\x89PNG\r\n\x1a\n", 8)) return readPng(data, size, out, error);
    if (startsWith(data, size, "\xFF\xD8\xFF", 3)) return readJpeg(data, size, out, error);
    if (startsWith(data, size, "II*\0", 4) || startsWith(data, size, "MM\0*", 4))
        return readTiff(data, size, out, error);
    return fail(error, "the file is not a PNG, JPEG or TIFF image");
}

bool ReadImageFile(const std::string& path, Image* out, std::string* error) {
    *out = {};
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return fail(error, "the image file \"" + path + "\" cannot be opened");
    const std::streamoff n = in.tellg();
    if (n < 0 || static_cast<uint64_t>(n) > kMaxFileBytes)
        return fail(error, "the image file \"" + path + "\" is too large");
    std::vector<unsigned char> bytes(static_cast<size_t>(n));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), n))
        return fail(error, "the image file \"" + path + "\" cannot be read");
    return ReadImage(bytes.data(), bytes.size(), out, error);
}

}  // namespace qd
