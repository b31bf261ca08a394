#include "vector/fontnames.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/fontconfig.h"

namespace {

constexpr const char* kDefaultFont = "Helvetica";
constexpr std::string_view kBoldSuffix = "-Bold";

struct NamePair {
    const char* menu;
    const char* postscript;
};

// Menu names that the font services do not resolve as wanted.
constexpr NamePair kFixedNames[] = {
    {"HelveticaNeueLT Pro 45 Lt", "HelveticaNeueLTPro-Lt"},
    {"HelveticaNeueLT Pro 56 It", "HelveticaNeueLTPro-It"},
    {"Frutiger LT Std 55 Roman", "FrutigerLTStd-Roman"},
    {"Frutiger Condensed Bold", "Frutiger-BoldCn"},
    {"Frutiger Bold Condensed", "Frutiger-BoldCn"},
    {"Frutiger LT 67 Bold Condensed", "FrutigerLT-BoldCn"},
    {"Arial Narrow Bold", "ArialNarrow-Bold"},
};

// Names that are never looked up: the OCR faces and the bar font.
constexpr NamePair kPrinterNames[] = {
    {"OCR-ANormal", "OCR-Plain"},
    {"OCR-A Bar Code Pro", "OCR-ABarCodePro"},
    {"OCR-B Bar Code Pro", "OCR-BBarCodePro"},
    {"Strixel", "Strixel"},
};

// The base fonts every PostScript printer holds. They come before fontconfig,
// which would answer a request for them with a metric twin under another name.
struct BaseFont {
    const char* menu;
    const char* postscript;
    const char* bold;  // the bold face of the same family
};
constexpr BaseFont kBaseFonts[] = {
    {"Helvetica", "Helvetica", "Helvetica-Bold"},
    {"Helvetica-Bold", "Helvetica-Bold", "Helvetica-Bold"},
    {"Helvetica-Oblique", "Helvetica-Oblique", "Helvetica-BoldOblique"},
    {"Helvetica-BoldOblique", "Helvetica-BoldOblique", "Helvetica-BoldOblique"},
    {"Helvetica Narrow", "Helvetica-Narrow", "Helvetica-Narrow-Bold"},
    {"Helvetica-Narrow", "Helvetica-Narrow", "Helvetica-Narrow-Bold"},
    {"Helvetica-Narrow-Bold", "Helvetica-Narrow-Bold", "Helvetica-Narrow-Bold"},
    {"Helvetica-Narrow-Oblique", "Helvetica-Narrow-Oblique", "Helvetica-Narrow-BoldOblique"},
    {"Helvetica-Narrow-BoldOblique", "Helvetica-Narrow-BoldOblique",
     "Helvetica-Narrow-BoldOblique"},
    {"Times", "Times-Roman", "Times-Bold"},
    {"Times-Roman", "Times-Roman", "Times-Bold"},
    {"Times-Bold", "Times-Bold", "Times-Bold"},
    {"Times-Italic", "Times-Italic", "Times-BoldItalic"},
    {"Times-BoldItalic", "Times-BoldItalic", "Times-BoldItalic"},
    {"Courier", "Courier", "Courier-Bold"},
    {"Courier-Bold", "Courier-Bold", "Courier-Bold"},
    {"Courier-Oblique", "Courier-Oblique", "Courier-BoldOblique"},
    {"Courier-BoldOblique", "Courier-BoldOblique", "Courier-BoldOblique"},
    {"Symbol", "Symbol", "Symbol"},
    {"Zapf Dingbats", "ZapfDingbats", "ZapfDingbats"},
    {"ZapfDingbats", "ZapfDingbats", "ZapfDingbats"},
    {"Zapf Chancery", "ZapfChancery-MediumItalic", "ZapfChancery-MediumItalic"},
    {"ZapfChancery-MediumItalic", "ZapfChancery-MediumItalic", "ZapfChancery-MediumItalic"},
    {"Palatino", "Palatino-Roman", "Palatino-Bold"},
    {"Palatino-Roman", "Palatino-Roman", "Palatino-Bold"},
    {"Palatino-Bold", "Palatino-Bold", "Palatino-Bold"},
    {"Palatino-Italic", "Palatino-Italic", "Palatino-BoldItalic"},
    {"Palatino-BoldItalic", "Palatino-BoldItalic", "Palatino-BoldItalic"},
    {"Bookman", "Bookman-Light", "Bookman-Demi"},
    {"Bookman-Light", "Bookman-Light", "Bookman-Demi"},
    {"Bookman-Demi", "Bookman-Demi", "Bookman-Demi"},
    {"Bookman-LightItalic", "Bookman-LightItalic", "Bookman-DemiItalic"},
    {"Bookman-DemiItalic", "Bookman-DemiItalic", "Bookman-DemiItalic"},
    {"New Century Schoolbook", "NewCenturySchlbk-Roman", "NewCenturySchlbk-Bold"},
    {"NewCenturySchlbk-Roman", "NewCenturySchlbk-Roman", "NewCenturySchlbk-Bold"},
    {"NewCenturySchlbk-Bold", "NewCenturySchlbk-Bold", "NewCenturySchlbk-Bold"},
    {"NewCenturySchlbk-Italic", "NewCenturySchlbk-Italic", "NewCenturySchlbk-BoldItalic"},
    {"NewCenturySchlbk-BoldItalic", "NewCenturySchlbk-BoldItalic", "NewCenturySchlbk-BoldItalic"},
    {"Avant Garde", "AvantGarde-Book", "AvantGarde-Demi"},
    {"AvantGarde-Book", "AvantGarde-Book", "AvantGarde-Demi"},
    {"AvantGarde-Demi", "AvantGarde-Demi", "AvantGarde-Demi"},
    {"AvantGarde-BookOblique", "AvantGarde-BookOblique", "AvantGarde-DemiOblique"},
    {"AvantGarde-DemiOblique", "AvantGarde-DemiOblique", "AvantGarde-DemiOblique"},
};

const BaseFont* findBaseFont(std::string_view name) {
    for (const BaseFont& f : kBaseFonts)
        if (name == f.menu) return &f;
    return nullptr;
}

// A name a PostScript interpreter reads back as one name token.
bool validPostScriptName(std::string_view name) {
    if (name.empty() || name.size() > 127) return false;
    for (unsigned char c : name) {
        if (c <= 32 || c >= 127) return false;
        if (std::strchr("()<>[]{}/%#", c)) return false;  // "#" would need escaping in PDF names
    }
    return true;
}

struct FcFace {
    std::string postscript;
    std::string family;
    int weight = 0;
    int slant = 0;
};

// The faces whose `object` equals value exactly (fontconfig lists without substituting).
template <typename Visit>
void listFaces(const char* object, const char* value, Visit visit) {
    FcPattern* pat = FcPatternCreate();
    if (!pat) return;
    FcPatternAddString(pat, object, reinterpret_cast<const FcChar8*>(value));
    FcObjectSet* os = FcObjectSetBuild(FC_POSTSCRIPT_NAME, FC_FAMILY, FC_WEIGHT, FC_SLANT, nullptr);
    FcConfig* config = platform::fontConfiguration();
    FcFontSet* set = os && config ? FcFontList(config, pat, os) : nullptr;
    if (set) {
        for (int i = 0; i < set->nfont; ++i) {
            FcFace face;
            FcChar8* s = nullptr;
            if (FcPatternGetString(set->fonts[i], FC_POSTSCRIPT_NAME, 0, &s) != FcResultMatch)
                continue;
            face.postscript = reinterpret_cast<const char*>(s);
            if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &s) == FcResultMatch)
                face.family = reinterpret_cast<const char*>(s);
            FcPatternGetInteger(set->fonts[i], FC_WEIGHT, 0, &face.weight);
            FcPatternGetInteger(set->fonts[i], FC_SLANT, 0, &face.slant);
            visit(face);
        }
        FcFontSetDestroy(set);
    }
    if (os) FcObjectSetDestroy(os);
    FcPatternDestroy(pat);
}

// The upright face of `family` whose weight lies nearest to `weight`.
bool familyFace(const char* family, int weight, bool boldOnly, FcFace* out) {
    bool found = false;
    int best = 1 << 30;
    listFaces(FC_FAMILY, family, [&](const FcFace& f) {
        if (!validPostScriptName(f.postscript)) return;
        if (boldOnly && f.weight < FC_WEIGHT_DEMIBOLD) return;
        int cost = std::abs(f.weight - weight) + (f.slant != FC_SLANT_ROMAN ? 1000 : 0);
        if (cost < best || (cost == best && f.postscript < out->postscript)) {
            best = cost;
            *out = f;
            found = true;
        }
    });
    return found;
}

bool firstFace(const char* object, const char* value, FcFace* out) {
    bool found = false;
    listFaces(object, value, [&](const FcFace& f) {
        if (found || !validPostScriptName(f.postscript)) return;
        *out = f;
        found = true;
    });
    return found;
}

// Exact matches on PostScript name, full name and family, in that order.
bool lookupInstalled(const std::string& name, FcFace* face) {
    return firstFace(FC_POSTSCRIPT_NAME, name.c_str(), face) ||
           firstFace(FC_FULLNAME, name.c_str(), face) ||
           familyFace(name.c_str(), FC_WEIGHT_REGULAR, false, face);
}

std::string resolve(const std::string& name) {
    for (const NamePair& p : kFixedNames)
        if (name == p.menu) return p.postscript;
    if (const BaseFont* f = findBaseFont(name)) return f->postscript;
    FcFace face;
    if (lookupInstalled(name, &face)) return face.postscript;

    // "Name-Bold": the bold face of whatever "Name" resolves to.
    if (name.size() > kBoldSuffix.size() && name.ends_with(kBoldSuffix)) {
        std::string base = name.substr(0, name.size() - kBoldSuffix.size());
        if (const BaseFont* f = findBaseFont(base)) return f->bold;
        if (lookupInstalled(base, &face)) {
            FcFace bold;
            if (!face.family.empty() &&
                familyFace(face.family.c_str(), FC_WEIGHT_BOLD, true, &bold))
                return bold.postscript;
            return face.postscript;
        }
        return findBaseFont(kDefaultFont)->bold;
    }
    return kDefaultFont;
}

std::unordered_map<std::string, std::string>& cache() {
    static std::unordered_map<std::string, std::string> names;
    return names;
}

}  // namespace

void FindLaserName(char* dest, int16_t, int16_t, const char* name) {
    std::string key(name);
    auto it = cache().find(key);
    if (it == cache().end()) {
        std::string ps = resolve(key);
        if (!validPostScriptName(ps)) ps = kDefaultFont;
        it = cache().emplace(key, ps).first;
    }
    std::memcpy(dest, it->second.c_str(), it->second.size() + 1);  // at most 127 bytes
}

namespace {

// Every text run of a symbol asks for the same font, and a document's header
// for its few others: the last answers are kept.
struct LastLaserName {
    unsigned char name[256] = {};
    unsigned char printer[256] = {};
    bool valid = false;
};
constexpr size_t kLastLaserNames = 4;
struct LastLaserNames {
    LastLaserName names[kLastLaserNames];
    size_t next = 0;  // the entry the next new answer takes
};
LastLaserNames& lastLaserNames() {
    static LastLaserNames last;
    return last;
}

}  // namespace

void GetLaserFontName(unsigned char* dest, const unsigned char* name) {
    LastLaserNames& last = lastLaserNames();
    for (const LastLaserName& kept : last.names) {
        if (kept.valid && std::memcmp(kept.name, name, name[0] + 1u) == 0) {
            std::memcpy(dest, kept.printer, kept.printer[0] + 1u);
            return;
        }
    }
    char text[256];
    std::memcpy(text, name + 1, name[0]);
    text[name[0]] = 0;
    const char* fixed = nullptr;
    for (const NamePair& p : kPrinterNames)
        if (std::strcmp(text, p.menu) == 0) fixed = p.postscript;
    char found[256];
    if (!fixed) {
        FindLaserName(found, 0, 0, text);
        fixed = found;
    }
    size_t n = std::strlen(fixed);
    dest[0] = static_cast<unsigned char>(n);
    std::memcpy(dest + 1, fixed, n);
    LastLaserName& kept = last.names[last.next];
    last.next = (last.next + 1) % kLastLaserNames;
    std::memcpy(kept.name, name, name[0] + 1u);
    std::memcpy(kept.printer, dest, n + 1);
    kept.valid = true;
}

void resetLaserFontNames() {
    cache().clear();
    lastLaserNames() = LastLaserNames{};
}
