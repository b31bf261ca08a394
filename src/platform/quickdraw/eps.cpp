#include "platform/quickdraw/eps.h"

#include "platform/cairoLibrary.h"
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

#include "platform/byteorder.h"
#include "platform/quickdraw/port.h"
#include "platform/spawn.h"
#include "platform/tempfiles.h"

namespace qd {
namespace {

constexpr char kEpsMagic[] = "%!PS-Adobe";
constexpr unsigned char kPcEpsMagic[4] = {0xC5, 0xD0, 0xD3, 0xC6};
constexpr size_t kPcEpsHeader = 30;
constexpr size_t kHeaderSearch = 64 * 1024;  // the bounding box is looked for this far
constexpr double kMostRasterPixels = 16.0 * 1024 * 1024;
constexpr char kGhostscript[] = "gs";
// An EPS file is a program: one that never ends gets the placeholder.
constexpr std::chrono::seconds kMostRasterTime{60};

std::string tempFolder() {
    std::error_code err;
    const std::filesystem::path p = std::filesystem::temp_directory_path(err);
    return err ? std::string() : p.string();
}

bool startsWith(const unsigned char* data, size_t size, const char* text) {
    const size_t n = std::strlen(text);
    return size >= n && std::memcmp(data, text, n) == 0;
}

// "%%BoundingBox: llx lly urx ury" in the header comments; "(atend)" looks at the
// last one in the file. A box of no size, or one larger than any page, is no use.
bool boundingBox(const std::string& ps, EpsFile* out) {
    const std::string key = "%%BoundingBox:";
    size_t at = ps.find(key);
    if (at == std::string::npos) return false;
    if (ps.compare(at + key.size(), 7, " (atend") == 0 ||
        ps.compare(at + key.size(), 6, "(atend") == 0)
        at = ps.rfind(key);
    double v[4];
    std::istringstream in(ps.substr(at + key.size(), 200));
    in.imbue(std::locale::classic());
    for (double& x : v)
        if (!(in >> x) || !std::isfinite(x)) return false;
    out->llx = v[0];
    out->lly = v[1];
    out->urx = v[2];
    out->ury = v[3];
    // Passed into PostScript output the EPS fills an image surface of its size
    // in points, which cairo makes no longer than kMaxImageSide (11.5 metres).
    return out->width() > 0 && out->height() > 0 && out->width() <= kMaxImageSide &&
           out->height() <= kMaxImageSide;
}

// cairo (1.16) counts the "|EOD|" markers of an EPS file it embeds, and never
// gets past a '|' that begins none: printing such a file (binary image data
// holds that byte often) would hang. Those files go in as a raster instead.
bool cairoEmbeds(const std::string& ps) {
    constexpr std::string_view kEndMarker = "|EOD|";
    for (size_t at = ps.find('|'); at != std::string::npos; at = ps.find('|', at + 1)) {
        if (at + kEndMarker.size() > ps.size()) break;  // cairo looks no further
        if (ps.compare(at, kEndMarker.size(), kEndMarker) != 0) return false;
        at += kEndMarker.size() - 1;
    }
    return true;
}

}  // namespace

bool LooksLikeEps(const unsigned char* data, size_t size) {
    return startsWith(data, size, kEpsMagic) ||
           (size >= 4 && std::memcmp(data, kPcEpsMagic, 4) == 0);
}

bool ReadEps(const unsigned char* data, size_t size, EpsFile* out, std::string* error) {
    *out = EpsFile{};
    if (size >= 4 && std::memcmp(data, kPcEpsMagic, 4) == 0) {
        if (size < kPcEpsHeader) {
            *error = "the EPS file is cut short";
            return false;
        }
        const uint32_t start = platform::get32(data + 4, platform::ByteOrder::little);
        const uint32_t length = platform::get32(data + 8, platform::ByteOrder::little);
        if (start > size || length > size - start) {
            *error = "the EPS file is cut short";
            return false;
        }
        out->postscript.assign(reinterpret_cast<const char*>(data) + start, length);
    } else if (startsWith(data, size, kEpsMagic)) {
        out->postscript.assign(reinterpret_cast<const char*>(data), size);
    } else {
        *error = "the file is no EPS file";
        return false;
    }
    const std::string& ps = out->postscript;
    if (!boundingBox(ps.size() > kHeaderSearch && ps.find("(atend)") == std::string::npos
                         ? ps.substr(0, kHeaderSearch)
                         : ps,
                     out)) {
        *error = "the EPS file has no usable %%BoundingBox";
        return false;
    }
    return true;
}

bool ReadEpsFile(const std::string& path, EpsFile* out, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "the file could not be opened";
        return false;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string s = bytes.str();
    return ReadEps(reinterpret_cast<const unsigned char*>(s.data()), s.size(), out, error);
}

bool RasterOfEps(const EpsFile& eps, double pixelsPerPoint, Image* out) {
    const double area = eps.width() * eps.height();
    if (!(area > 0)) return false;
    double ppp = pixelsPerPoint > 0 ? pixelsPerPoint : 1;
    if (area * ppp * ppp > kMostRasterPixels) ppp = std::sqrt(kMostRasterPixels / area);
    std::string epsTemp, pngTemp;
    int fd = platform::createTemp(tempFolder(), &epsTemp);
    if (fd < 0) return false;
    const bool written = platform::writeAllTo(fd, eps.postscript);
    ::close(fd);
    fd = written ? platform::createTemp(tempFolder(), &pngTemp) : -1;
    if (fd < 0) {
        platform::removeTemp(epsTemp);
        return false;
    }
    ::close(fd);
    char resolution[32];
    std::snprintf(resolution, sizeof resolution, "-r%.3f", ppp * 72);
    const int status = platform::runQuietly(
        kGhostscript,
        {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-sDEVICE=pngalpha", resolution,
         "-sOutputFile=" + pngTemp, platform::asArgument(epsTemp)},
        kMostRasterTime);
    platform::removeTemp(epsTemp);
    std::string why;
    const bool read = status == 0 && ReadImageFile(pngTemp, out, &why);
    platform::removeTemp(pngTemp);
    return read;
}

bool GhostscriptFound() {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string_view rest = path;
    while (true) {
        const size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        const std::string program =
            (folder.empty() ? std::string(".") : std::string(folder)) + "/" + kGhostscript;
        if (::access(program.c_str(), X_OK) == 0) return true;
        if (colon == std::string_view::npos) return false;
        rest.remove_prefix(colon + 1);
    }
}

bool PassEpsThrough(const EpsFile& eps, const Rect& dst, double angle) {
    GrafPort& p = current();
    if (!p.surface || !p.cr || cairo_surface_get_type(p.surface) != CAIRO_SURFACE_TYPE_PS ||
        !cairoEmbeds(eps.postscript))
        return false;
    if (dst.empty() || !std::isfinite(angle)) return true;
    if (!visible(p)) return true;
    // The EPS fills the extents of the surface it is attached to.
    const int w = std::max(1, static_cast<int>(std::lround(eps.width())));
    const int h = std::max(1, static_cast<int>(std::lround(eps.height())));
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    auto* data = new std::string(eps.postscript);
    cairo_surface_set_mime_data(
        s, CAIRO_MIME_TYPE_EPS, reinterpret_cast<const unsigned char*>(data->data()), data->size(),
        [](void* d) { delete static_cast<std::string*>(d); }, data);
    char params[160];
    std::snprintf(params, sizeof params, "bbox=[%.4f %.4f %.4f %.4f]", eps.llx, eps.lly, eps.urx,
                  eps.ury);
    auto* paramText = new std::string(params);
    cairo_surface_set_mime_data(
        s, CAIRO_MIME_TYPE_EPS_PARAMS, reinterpret_cast<const unsigned char*>(paramText->data()),
        paramText->size(), [](void* d) { delete static_cast<std::string*>(d); }, paramText);
    cairo_t* cr = p.cr;
    applyClip(p);
    cairo_save(cr);
    const double cx = (dst.left + dst.right) / 2.0, cy = (dst.top + dst.bottom) / 2.0;
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle * M_PI / 180);  // clockwise on the page, as DrawImage turns
    cairo_translate(cr, -cx, -cy);
    cairo_translate(cr, dst.left, dst.top);
    cairo_scale(cr, static_cast<double>(dst.width()) / w, static_cast<double>(dst.height()) / h);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(s);
    return true;
}

}  // namespace qd
