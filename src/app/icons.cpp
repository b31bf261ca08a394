#include "app/icons.h"

#include "platform/cairoLibrary.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "QRCode/QREncode.h"
#include "app/world.h"
#include "symbology/messages.h"

namespace {

constexpr char kIconData[] = "Strixel";
constexpr int32_t kLevelM = 1;
constexpr int kSvgSize = 256;
// The label fills the square but for a margin of a sixteenth; its corners are
// rounded by an eighth of the side. The symbol keeps two modules of light
// margin inside the label where the size allows.
constexpr int kMarginDivisor = 16;
constexpr int kCornerDivisor = 8;
constexpr int kLightModules = 2;
constexpr double kEdgeGrey = 0.6;

using Matrix = std::vector<std::vector<bool>>;  // [row][column], true dark

bool encodeIconSymbol(Matrix* out, std::string* error) {
    resetWorld();
    gMsg.quiet = true;
    const bool made = qrencode::encodeData(kIconData, static_cast<int32_t>(sizeof kIconData - 1),
                                           kLevelM, 1, 1, -1) == 1;
    if (made) {
        const int side = qrencode::gQR.m_nSymbolSize;
        out->assign(static_cast<size_t>(side), std::vector<bool>(static_cast<size_t>(side)));
        for (int x = 0; x < side; ++x)
            for (int y = 0; y < side; ++y)
                (*out)[static_cast<size_t>(y)][static_cast<size_t>(x)] =
                    qrencode::gQR.m_byModuleData[x][y] == 1;
    } else {
        *error = "the icon's symbol could not be made";
    }
    resetWorld();
    return made;
}

struct Layout {
    int margin, corner, module, origin;
};

// Whole pixels a module, so that small icons stay sharp.
Layout layoutFor(int size, int side) {
    Layout l{};
    l.margin = size / kMarginDivisor;
    l.corner = size / kCornerDivisor;
    const int inside = size - 2 * l.margin;
    l.module = inside / (side + 2 * kLightModules);
    if (l.module < 1) l.module = inside / side > 0 ? inside / side : 1;
    l.origin = (size - l.module * side) / 2;
    return l;
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

}  // namespace

bool writeIconPng(const std::string& path, int size, std::string* error) {
    Matrix m;
    if (!encodeIconSymbol(&m, error)) return false;
    const int side = static_cast<int>(m.size());
    const Layout l = layoutFor(size, side);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(s);
    const double edge = l.margin + 0.5;  // a one-pixel line on whole pixels
    roundedRect(cr, edge, edge, size - 2 * edge, size - 2 * edge, l.corner);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, kEdgeGrey, kEdgeGrey, kEdgeGrey);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if (m[static_cast<size_t>(y)][static_cast<size_t>(x)])
                cairo_rectangle(cr, l.origin + x * l.module, l.origin + y * l.module, l.module,
                                l.module);
    cairo_fill(cr);
    cairo_destroy(cr);
    const cairo_status_t st = cairo_surface_write_to_png(s, path.c_str());
    cairo_surface_destroy(s);
    if (st != CAIRO_STATUS_SUCCESS) {
        *error = path + ": " + cairo_status_to_string(st);
        return false;
    }
    return true;
}

bool writeIconSvg(const std::string& path, std::string* error) {
    Matrix m;
    if (!encodeIconSymbol(&m, error)) return false;
    const int side = static_cast<int>(m.size());
    const Layout l = layoutFor(kSvgSize, side);
    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kSvgSize << "\" height=\""
        << kSvgSize << "\" viewBox=\"0 0 " << kSvgSize << ' ' << kSvgSize << "\">\n"
        << "  <rect x=\"" << l.margin + 0.5 << "\" y=\"" << l.margin + 0.5 << "\" width=\""
        << kSvgSize - 2 * l.margin - 1 << "\" height=\"" << kSvgSize - 2 * l.margin - 1
        << "\" rx=\"" << l.corner << "\" fill=\"#fff\" stroke=\"#999\"/>\n"
        << "  <path fill=\"#000\" d=\"";
    // One rectangle a run of dark modules keeps the file small.
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side;) {
            if (!m[static_cast<size_t>(y)][static_cast<size_t>(x)]) {
                ++x;
                continue;
            }
            int run = 1;
            while (x + run < side && m[static_cast<size_t>(y)][static_cast<size_t>(x + run)]) ++run;
            svg << 'M' << l.origin + x * l.module << ' ' << l.origin + y * l.module << 'h'
                << run * l.module << 'v' << l.module << 'h' << -run * l.module << 'z';
            x += run;
        }
    svg << "\"/>\n</svg>\n";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << svg.str();
    out.close();
    if (!out) {
        *error = path + ": could not be written";
        return false;
    }
    return true;
}
