#include "platform/textmetrics.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/fontcache.h"
#include "platform/fontconfig.h"
#include "platform/leakcheck.h"
#include "platform/macroman.h"

namespace platform {
namespace {

constexpr int kBold = 1;
constexpr int kItalic = 2;
constexpr int16_t kDefaultSize = 12;

// ---- The bar font -------------------------------------------------------------

// At 10 points an element glyph of the bar font is as wide as the element is at
// 100 % (so Siz x 0.1 points sets a symbol at Siz percent); the advances below are
// micrometres at that size.
constexpr double kBarFontEmPerMicrometre = 72.0 / 254000.0;

struct AdvanceGroup {
    int micrometres;
    unsigned char bytes[4];
    int count;
};
// Element glyphs, grouped by advance (bars and spaces alike).
constexpr AdvanceGroup kBarFontElements[] = {
    {300, {214, 41, 46}, 3},
    {330, {190, 238, 59}, 3},
    {630, {220, 42}, 2},
    {660, {196, 58}, 2},
    {690, {227, 43}, 2},
    {990, {202, 254, 61}, 3},
    {1000, {20, 184, 123, 160}, 4},
    {1016, {130, 32, 128}, 3},
    {1020, {232, 44}, 2},
    {1320, {208, 63}, 2},
    {2000, {124, 161}, 2},
    {2235, {150, 125}, 2},
    {2540, {140, 129}, 2},
    {3000, {47, 162}, 2},
    {4000, {255, 163}, 2},
};
// Bar glyphs made thinner by the width step BW (1 to 5) keep their bar's advance.
constexpr unsigned char kBarFontBars[] = {20,  184, 130, 140, 150, 190, 238, 196,
                                          202, 254, 208, 214, 220, 227, 232};
constexpr int kBarFontMaxStep = 5;
// The human-readable characters, as wide as the digits under EAN bars (7 modules).
constexpr int kBarFontDigit = 2310;
constexpr int kBarFontDash = 2000;
constexpr int kBarFontBracket = 1320;
constexpr int kBarFontWideM = 3122;

std::array<double, 256> barFontAdvances() {
    std::array<int, 256> um{};
    std::array<bool, 256> set{};
    for (const AdvanceGroup& g : kBarFontElements)
        for (int i = 0; i < g.count; ++i) {
            um[g.bytes[i]] = g.micrometres;
            set[g.bytes[i]] = true;
        }
    for (unsigned char bar : kBarFontBars)
        for (int step = 1; step <= kBarFontMaxStep && bar + step < 256; ++step)
            if (!set[bar + step]) {
                um[bar + step] = um[bar];
                set[bar + step] = true;
            }
    for (int b = 0; b < 256; ++b) {
        if (set[b]) continue;
        if (b < 32 || b == 127)
            um[b] = 0;  // line ends and other controls take no room
        else if (b == '-')
            um[b] = kBarFontDash;
        else if (b == '(')
            um[b] = kBarFontBracket;
        else if (b == 'M')
            um[b] = kBarFontWideM;
        else
            um[b] = kBarFontDigit;
    }
    std::array<double, 256> em{};
    for (int b = 0; b < 256; ++b) em[b] = um[b] * kBarFontEmPerMicrometre;
    return em;
}

// ---- Standard families --------------------------------------------------------

struct Family {
    const char* aliases[3];    // further menu names of the plain style
    const char* standard[4];   // PostScript names: plain, bold, italic, bold italic
    const char* installed[4];  // PostScript names of the fonts that measure them
};

// The standard names go to their metric-compatible fonts before fontconfig is
// asked: fontconfig would substitute silently, and it reads "Helvetica-Bold" as
// the family "Helvetica" at size "Bold".
constexpr Family kFamilies[] = {
    {{},
     {"Helvetica", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique"},
     {"NimbusSans-Regular", "NimbusSans-Bold", "NimbusSans-Italic", "NimbusSans-BoldItalic"}},
    {{},
     {"Helvetica-Narrow", "Helvetica-Narrow-Bold", "Helvetica-Narrow-Oblique",
      "Helvetica-Narrow-BoldOblique"},
     {"NimbusSansNarrow-Regular", "NimbusSansNarrow-Bold", "NimbusSansNarrow-Oblique",
      "NimbusSansNarrow-BoldOblique"}},
    {{"Times"},
     {"Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic"},
     {"NimbusRoman-Regular", "NimbusRoman-Bold", "NimbusRoman-Italic", "NimbusRoman-BoldItalic"}},
    {{},
     {"Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique"},
     {"NimbusMonoPS-Regular", "NimbusMonoPS-Bold", "NimbusMonoPS-Italic",
      "NimbusMonoPS-BoldItalic"}},
    {{},
     {"Symbol", "Symbol", "Symbol", "Symbol"},
     {"StandardSymbolsPS", "StandardSymbolsPS", "StandardSymbolsPS", "StandardSymbolsPS"}},
    {{},
     {"ZapfDingbats", "ZapfDingbats", "ZapfDingbats", "ZapfDingbats"},
     {"D050000L", "D050000L", "D050000L", "D050000L"}},
    {{"Palatino"},
     {"Palatino-Roman", "Palatino-Bold", "Palatino-Italic", "Palatino-BoldItalic"},
     {"P052-Roman", "P052-Bold", "P052-Italic", "P052-BoldItalic"}},
    {{"Bookman"},
     {"Bookman-Light", "Bookman-Demi", "Bookman-LightItalic", "Bookman-DemiItalic"},
     {"URWBookman-Light", "URWBookman-Demi", "URWBookman-LightItalic", "URWBookman-DemiItalic"}},
    {{"AvantGarde"},
     {"AvantGarde-Book", "AvantGarde-Demi", "AvantGarde-BookOblique", "AvantGarde-DemiOblique"},
     {"URWGothic-Book", "URWGothic-Demi", "URWGothic-BookOblique", "URWGothic-DemiOblique"}},
    {{"NewCenturySchlbk"},
     {"NewCenturySchlbk-Roman", "NewCenturySchlbk-Bold", "NewCenturySchlbk-Italic",
      "NewCenturySchlbk-BoldItalic"},
     {"C059-Roman", "C059-Bold", "C059-Italic", "C059-BdIta"}},
    {{"ZapfChancery"},
     {"ZapfChancery-MediumItalic", "ZapfChancery-MediumItalic", "ZapfChancery-MediumItalic",
      "ZapfChancery-MediumItalic"},
     {"Z003-MediumItalic", "Z003-MediumItalic", "Z003-MediumItalic", "Z003-MediumItalic"}},
    // The OCR fonts print under their installed names.
    {{"OCRB", "OCR-B", "OCR B"},
     {nullptr, nullptr, nullptr, nullptr},
     {"OCRB-Regular", "OCRB-Regular", "OCRB-Oblique", "OCRB-Oblique"}},
    {{"OCR-ANormal", "OCR-A", "OCRA"},
     {nullptr, nullptr, nullptr, nullptr},
     {"OCRA", "OCRABold", "OCRAItalic", "OCRABold"}},
};
constexpr const Family& kHelvetica = kFamilies[0];

bool sameName(const std::string& a, const char* b) { return b && strcasecmp(a.c_str(), b) == 0; }

// The family a standard name belongs to, with the style the name itself carries.
const Family* standardFamily(const std::string& name, int* style) {
    for (const Family& f : kFamilies) {
        for (const char* alias : f.aliases)
            if (sameName(name, alias)) {
                *style = 0;
                return &f;
            }
        for (int s = 0; s < 4; ++s)
            if (sameName(name, f.standard[s])) {
                *style = s;
                return &f;
            }
    }
    return nullptr;
}

// "Strixel", also spelt "STRixel".
bool isBarFont(const std::string& name) { return sameName(name, "Strixel"); }

// ---- fontconfig and FreeType, both started on first need ----------------------

struct FontFile {
    std::string path;
    int index = 0;
    std::string postScriptName;
};

struct Engine {
    FcConfig* config = nullptr;
    std::string configFile;  // a fixed configuration for tests; empty for the user's
    bool configFailed = false;
    FT_Library ft = nullptr;
    std::map<std::string, FT_Face> faces;  // by path and index
};
Engine engine;

// fontconfig 2.14 loses a few bytes parsing the system's configuration files; the
// leak checker of a sanitizer build is told to look away while it reads them.
using FontConfigLeaksIgnored = LeaksIgnored;

FcConfig* fontConfig() {
    if (engine.config || engine.configFailed) return engine.config;
    [[maybe_unused]] FontConfigLeaksIgnored ignored;
    if (engine.configFile.empty()) {
        engine.config = FcInitLoadConfigAndFonts();
    } else {
        FcConfig* c = FcConfigCreate();
        if (c &&
            FcConfigParseAndLoad(c, reinterpret_cast<const FcChar8*>(engine.configFile.c_str()),
                                 FcTrue) &&
            FcConfigBuildFonts(c)) {
            engine.config = c;
        } else if (c) {
            FcConfigDestroy(c);
        }
    }
    if (!engine.config) {
        engine.configFailed = true;
        std::fprintf(stderr,
                     "strixel: the font configuration cannot be read; text widths are guessed\n");
    }
    return engine.config;
}

std::string stringOf(FcPattern* p, const char* object) {
    FcChar8* s = nullptr;
    return FcPatternGetString(p, object, 0, &s) == FcResultMatch ? reinterpret_cast<char*>(s) : "";
}

int intOf(FcPattern* p, const char* object, int otherwise) {
    int v = otherwise;
    FcPatternGetInteger(p, object, 0, &v);
    return v;
}

// The installed font whose `object` is exactly `value`, nearest to the style; no
// substitution: a name fontconfig does not list is not found.
std::optional<FontFile> listFont(const char* object, const std::string& value, int style) {
    FcConfig* config = fontConfig();
    if (!config || value.empty()) return std::nullopt;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, object, reinterpret_cast<const FcChar8*>(value.c_str()));
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT,
                                            FC_POSTSCRIPT_NAME, FC_FONTFORMAT, nullptr);
    FcFontSet* set = FcFontList(config, pattern, objects);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    std::optional<FontFile> best;
    int bestScore = 0;
    for (int i = 0; set && i < set->nfont; ++i) {
        FcPattern* p = set->fonts[i];
        const int weight = intOf(p, FC_WEIGHT, FC_WEIGHT_REGULAR);
        const int want = (style & kBold) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
        const bool slanted = intOf(p, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
        int score = std::abs(weight - want) * 4 + (slanted != ((style & kItalic) != 0) ? 10000 : 0);
        // The same font often comes as OpenType and Type 1; they measure alike, so
        // take the OpenType one for a stable answer.
        if (stringOf(p, FC_FONTFORMAT) == "Type 1") score += 1;
        FontFile f{stringOf(p, FC_FILE), intOf(p, FC_INDEX, 0), stringOf(p, FC_POSTSCRIPT_NAME)};
        if (f.path.empty()) continue;
        if (!best || score < bestScore || (score == bestScore && f.path < best->path)) {
            best = f;
            bestScore = score;
        }
    }
    if (set) FcFontSetDestroy(set);
    return best;
}

std::optional<FontFile> findInstalled(const std::string& name, int style) {
    for (const char* object : {FC_FAMILY, FC_POSTSCRIPT_NAME, FC_FULLNAME})
        if (auto f = listFont(object, name, style)) return f;
    return std::nullopt;
}

// The font list of a document names bold text "<name>-Bold".
bool withoutBold(const std::string& name, std::string* base) {
    const std::string bold = "-Bold";
    if (name.size() <= bold.size() ||
        name.compare(name.size() - bold.size(), bold.size(), bold) != 0)
        return false;
    *base = name.substr(0, name.size() - bold.size());
    return true;
}

FT_Face openFace(const FontFile& file) {
    if (!engine.ft && FT_Init_FreeType(&engine.ft) != 0) {
        engine.ft = nullptr;
        return nullptr;
    }
    const std::string key = file.path + "#" + std::to_string(file.index);
    auto it = engine.faces.find(key);
    if (it != engine.faces.end()) return it->second;
    FT_Face face = nullptr;
    if (FT_New_Face(engine.ft, file.path.c_str(), file.index, &face) != 0) face = nullptr;
    engine.faces[key] = face;
    return face;
}

FT_UInt glyphOf(FT_Face face, unsigned char b) {
    FT_UInt g = 0;
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0)
        g = FT_Get_Char_Index(face, macRomanToUnicode(b));
    if (g != 0) return g;
    // Symbol fonts index their glyphs by the byte itself.
    if (FT_Select_Charmap(face, FT_ENCODING_ADOBE_CUSTOM) == 0) g = FT_Get_Char_Index(face, b);
    if (g == 0 && FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0)
        g = FT_Get_Char_Index(face, 0xF000u + b);
    return g;
}

// Advances of the 256 bytes in ems, from the font's own design units.
bool faceAdvances(const FontFile& file, std::array<double, 256>* em) {
    FT_Face face = openFace(file);
    if (!face || face->units_per_EM == 0) return false;
    for (int b = 0; b < 256; ++b) {
        if (b < 32 || b == 127) {
            (*em)[b] = 0;
            continue;
        }
        FT_Fixed adv = 0;
        if (FT_Get_Advance(face, glyphOf(face, static_cast<unsigned char>(b)), FT_LOAD_NO_SCALE,
                           &adv) != 0)
            adv = 0;
        (*em)[b] = static_cast<double>(adv) / face->units_per_EM;
    }
    return true;
}

// ---- Fonts by number ------------------------------------------------------------

struct Resolved {
    std::array<double, 256> em{};  // advance of each byte per point of size
    std::string file;              // empty for the bar font
};

struct Fonts {
    std::vector<std::string> names{"Helvetica"};  // font number 0, the system font
    std::map<int, Resolved> resolved;             // by number x 4 + style
    std::set<std::string> noticed;                // names already said to be missing
};
Fonts fonts;

struct Port {
    int16_t font = 0;
    int16_t size = kDefaultSize;
    int16_t face = 0;
    bool fract = false;
    double penH = 0;
    double penV = 0;
};
Port port;

// The font that measures a name in a style, or nothing when it is not installed.
std::optional<FontFile> locate(const std::string& name, int style) {
    int own = 0;
    if (const Family* f = standardFamily(name, &own))
        return listFont(FC_POSTSCRIPT_NAME, f->installed[own | style], 0);
    if (auto f = findInstalled(name, style)) return f;
    std::string base;
    if (withoutBold(name, &base)) return locate(base, style | kBold);
    return std::nullopt;
}

// The PostScript name that prints a name in a style; empty when not installed.
std::string postScriptNameOf(const std::string& name, int style) {
    if (isBarFont(name)) return "Strixel";
    int own = 0;
    if (const Family* f = standardFamily(name, &own)) {
        if (f->standard[own | style]) return f->standard[own | style];
        auto file = listFont(FC_POSTSCRIPT_NAME, f->installed[own | style], 0);
        return file ? file->postScriptName : "";
    }
    if (auto f = findInstalled(name, style)) return f->postScriptName;
    std::string base;
    if (withoutBold(name, &base)) return postScriptNameOf(base, style | kBold);
    return "";
}

// locate, answered from earlier runs while the fonts stay as they were, so a
// run that measures a line of text need not read the font configuration. A fixed
// configuration (the tests') is always asked.
std::optional<FontFile> locateRemembered(const std::string& name, int style) {
    if (!engine.configFile.empty()) return locate(name, style);
    const std::string key = std::to_string(style) + ' ' + name;
    if (std::optional<RememberedFont> r = rememberedFont(key))
        return FontFile{r->path, r->index, ""};
    std::optional<FontFile> file = locate(name, style);
    if (file) rememberFont(key, {file->path, file->index});
    return file;
}

Resolved resolve(const std::string& name, int style) {
    Resolved r;
    if (isBarFont(name)) {
        r.em = barFontAdvances();
        return r;
    }
    std::optional<FontFile> file = locateRemembered(name, style);
    if (!file || !faceAdvances(*file, &r.em)) {
        if (fonts.noticed.insert(name).second)
            std::fprintf(stderr,
                         "strixel: font \"%s\" is not installed; its text is measured with "
                         "Helvetica metrics\n",
                         macRomanToUtf8(name).c_str());
        file = listFont(FC_POSTSCRIPT_NAME, kHelvetica.installed[style], 0);
        if (!file || !faceAdvances(*file, &r.em)) {
            if (fonts.noticed.insert("\1Helvetica").second)
                std::fprintf(stderr,
                             "strixel: Helvetica metrics are missing: install fonts-urw-base35\n");
            // An average Helvetica advance keeps layouts usable.
            r.em.fill(0.556);
            return r;
        }
    }
    r.file = file->path;
    return r;
}

const Resolved& current() {
    const int16_t num =
        port.font >= 0 && static_cast<size_t>(port.font) < fonts.names.size() ? port.font : 0;
    const int style = port.face & (kBold | kItalic);
    const int key = num * 4 + style;
    auto it = fonts.resolved.find(key);
    if (it == fonts.resolved.end())
        it = fonts.resolved.emplace(key, resolve(fonts.names[num], style)).first;
    return it->second;
}

double measure(const void* text, int16_t firstByte, int16_t count) {
    if (!text || count <= 0 || firstByte < 0) return 0;
    const Resolved& font = current();
    const double size = port.size;
    const unsigned char* bytes = static_cast<const unsigned char*>(text) + firstByte;
    double width = 0;
    for (int i = 0; i < count; ++i) {
        const double w = font.em[bytes[i]] * size;
        width += port.fract ? w : std::round(w);
    }
    return width;
}

int16_t clampToInt16(double v) { return static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0)); }

std::string pascal(const unsigned char* p) {
    return p ? std::string(reinterpret_cast<const char*>(p + 1), p[0]) : "";
}

}  // namespace

void GetFNum(const unsigned char* name, int16_t* num) {
    // Font numbers are never taken back, so the last answer holds for the same name.
    static unsigned char lastName[256] = {};
    static int16_t lastNum = -1;
    if (name && name[0] > 0 && lastNum >= 0 && std::memcmp(lastName, name, name[0] + 1u) == 0) {
        *num = lastNum;
        return;
    }
    const std::string n = pascal(name);
    *num = 0;
    if (n.empty()) return;
    struct Remember {
        const unsigned char* name;
        int16_t* num;
        ~Remember() {
            std::memcpy(lastName, name, name[0] + 1u);
            lastNum = *num;
        }
    } remember{name, num};
    for (size_t i = 0; i < fonts.names.size(); ++i)
        if (strcasecmp(fonts.names[i].c_str(), n.c_str()) == 0) {
            *num = static_cast<int16_t>(i);
            return;
        }
    if (fonts.names.size() >= 32767) return;  // measured as the system font
    fonts.names.push_back(n);
    *num = static_cast<int16_t>(fonts.names.size() - 1);
}

void TextFont(int16_t num) { port.font = num; }
void TextSize(int16_t size) { port.size = size <= 0 ? kDefaultSize : size; }
void TextFace(int16_t face) { port.face = face; }
void SetFractEnable(bool on) { port.fract = on; }

int16_t TextWidth(const void* text, int16_t firstByte, int16_t count) {
    return clampToInt16(std::round(measure(text, firstByte, count)));
}

double TextWidthFract(const void* text, int16_t firstByte, int16_t count) {
    return measure(text, firstByte, count);
}

void DrawText(const void* text, int16_t firstByte, int16_t count) {
    port.penH += measure(text, firstByte, count);
}

void GetPen(Point* pt) {
    pt->h = clampToInt16(std::trunc(port.penH));
    pt->v = clampToInt16(std::trunc(port.penV));
}

void MoveTo(int16_t h, int16_t v) {
    port.penH = h;
    port.penV = v;
}

void HidePen() {}
void ShowPen() {}

bool FindPostScriptName(const unsigned char* name, unsigned char* dest) {
    dest[0] = 0;
    const std::string ps = postScriptNameOf(pascal(name), 0);
    if (ps.empty() || ps.size() > 255) return false;
    dest[0] = static_cast<unsigned char>(ps.size());
    std::memcpy(dest + 1, ps.data(), ps.size());
    return true;
}

FcConfig* fontConfiguration() { return fontConfig(); }

const char* fontNameOf(int16_t num) {
    return num >= 0 && static_cast<size_t>(num) < fonts.names.size() ? fonts.names[num].c_str()
                                                                     : "";
}

bool currentIsBarFont() {
    const int16_t num =
        port.font >= 0 && static_cast<size_t>(port.font) < fonts.names.size() ? port.font : 0;
    return isBarFont(fonts.names[num]);
}

double barFontAdvance(unsigned char b) {
    static const std::array<double, 256> advances = barFontAdvances();
    return advances[b];
}

const char* currentFontFile() { return current().file.c_str(); }

bool useFontConfigFile(const char* path) {
    if (engine.config) FcConfigDestroy(engine.config);
    engine.config = nullptr;
    engine.configFailed = false;
    engine.configFile = path ? path : "";
    fonts.resolved.clear();
    return fontConfig() != nullptr;
}

}  // namespace platform
