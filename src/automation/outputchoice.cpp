#include "automation/outputchoice.h"

#include <sys/stat.h>

#include <cstring>
#include <ostream>
#include <string_view>

#include "picture/outputstate.h"
#include "symbology/state.h"
#include "vector/Epsout.h"

namespace {

constexpr int32_t kEncapsulated = 0;
constexpr int32_t kPlainPostScript = 1;

constexpr Dialect kDialects[] = {
    {"ai1", kIll11, -1, "Illustrator 1.1 EPS"},
    {"ai88", kIll88, -1, "Illustrator 88 EPS"},
    {"ai3", kIll3, -1, "Illustrator 3 EPS (the .eps default)"},
    {"ai5", kIll5, -1, "Illustrator 5 EPS"},
    {"press", kIllPress, -1, "Illustrator 5 for the digital press"},
    {"type3", kIllType3, -1, "Type 3 font"},
    {"pdf", kIllPdf, kEncapsulated, "PDF 1.4 (the .pdf default)"},
    {"ps", kIll5, kPlainPostScript, "plain PostScript (the .ps default)"},
    {"ps-job", kIll5, 2, "PostScript in a printer job wrapper"},
};

constexpr PostKind kPostKinds[] = {{"eps", "0", kEncapsulated, "encapsulated"},
                                   {"ps", "1", kPlainPostScript, "plain PostScript"},
                                   {"job", "2", 2, "in a printer job wrapper"}};

constexpr OutputKindName kKinds[] = {
    {"picture", kOutPicture, 0, ".pic .pict", "picture file: 512 zero bytes, then PICT"},
    {"text", kOutBarFontText, 0, ".txt", "the bar-font characters (Mac OS Roman)"},
    {"text-utf16", kOutBarFontText, kIllUtf16Text, ".txt",
     "the bar-font characters in UTF-16 after a byte-order mark"},
    {"vector", kOutVector, 0, ".eps .ps .pdf", "EPS, PostScript or PDF (--dialect, --post)"},
    {"pc-eps", kOutPcEps, 0, ".eps",
     "EPS with the PC header and a 72-dpi TIFF preview (plain EPS for a symbol over 600 points)"},
    {"tiff", kOutTiff, 0, ".tif .tiff", "TIFF at 600 dpi, PackBits"},
    {"bmp72", kOutBmp72, 0, ".bmp", "Windows bitmap at 72 dpi"},
    {"bmp300", kOutBmp300, 0, ".bmp", "Windows bitmap at 300 dpi"},
    {"text-line", kOutTextLine, 0, "",
     "a record appended to a text file: its bar-font rows, under 5 mm its letters (any "
     "name; the first record of a run replaces the file)"},
    {"pdf-from-eps", kOutPdfFromEps, 0, ".pdf .eps",
     "EPS turned into PDF by Ghostscript's ps2pdf (the EPS is kept when that fails)"},
};

// The kind an extension picks when --kind is not given.
struct Extension {
    const char* text;
    const char* kind;
};
constexpr Extension kExtensions[] = {{".eps", "vector"},  {".ps", "vector"},    {".pdf", "vector"},
                                     {".pic", "picture"}, {".pict", "picture"}, {".tif", "tiff"},
                                     {".tiff", "tiff"},   {".bmp", "bmp300"},   {".txt", "text"}};

bool endsWithFolded(std::string_view s, std::string_view tail) {
    const size_t n = tail.size();
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        char a = s[s.size() - n + i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
        if (a != tail[i]) return false;
    }
    return true;
}

// The extension of the path among those the program knows, or empty.
std::string_view knownExtension(const std::string& path) {
    std::string_view best;
    for (const Extension& e : kExtensions)
        if (std::strlen(e.text) > best.size() && endsWithFolded(path, e.text)) best = e.text;
    return best;
}

const OutputKindName* kindOfName(const std::string& path) {
    const std::string_view ext = knownExtension(path);
    for (const Extension& e : kExtensions)
        if (ext == e.text) return findOutputKind(e.kind);
    return nullptr;
}

// A device or a pipe ("/dev/stdout") takes whatever the flags say.
bool special(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

std::string writtenExtensions() {
    std::string list;
    for (size_t i = 0; i < std::size(kExtensions); ++i) {
        if (i > 0) list += i + 1 == std::size(kExtensions) ? " or " : ", ";
        list += kExtensions[i].text;
    }
    return list;
}

bool takesExtension(const OutputKindName& k, const std::string& path) {
    if (k.extensions[0] == 0) return true;
    std::string list = std::string(k.extensions) + " ";
    for (size_t at = 0, blank; (blank = list.find(' ', at)) != std::string::npos; at = blank + 1)
        if (endsWithFolded(path, list.substr(at, blank - at))) return true;
    return false;
}

bool vectorKind(int32_t tool) {
    return tool == kOutVector || tool == kOutPcEps || tool == kOutPdfFromEps;
}

// The checks of the EPS, PostScript and PDF files of kind 2.
std::string vectorFault(const OutputChoice& choice, const std::string& path) {
    const std::string_view ext = knownExtension(path);
    const bool pdfDialect = choice.dialect && choice.dialect->ill == kIllPdf;
    // The messages are made only when there is one: a batch asks for every record.
    const auto dialect = [&] {
        return choice.dialect ? std::string("--dialect=") + choice.dialect->name : std::string();
    };
    const auto post = [&] {
        return choice.post ? std::string("--post=") + choice.post->name : std::string();
    };
    if (ext == ".pdf") {
        if (choice.dialect && !pdfDialect) return dialect() + " writes PostScript, not a .pdf file";
        if (choice.post) return post() + " is for PostScript files, not a .pdf file";
        return {};
    }
    if (pdfDialect) return dialect() + " writes PDF, not a " + std::string(ext) + " file";
    // The press takes its job as EPS files: PostScript wrapping would give an
    // ordinary label and no job at all.
    if (choice.dialect && choice.dialect->ill == kIllPress) {
        if (choice.post && choice.post->purePost != kEncapsulated)
            return dialect() + " writes the press's EPS files: " + post() + " does not apply";
        if (ext == ".ps") return dialect() + " writes the press's EPS files, not a .ps file";
    }
    // What reaches the file: --post overrides the dialect's own wrapping.
    int32_t wrapping = choice.dialect ? choice.dialect->purePost : -1;
    if (choice.post) wrapping = choice.post->purePost;
    const auto by = [&] { return choice.post ? post() : dialect(); };
    if (ext == ".eps" && wrapping > kEncapsulated)
        return by() + " writes PostScript, not EPS: the file name ends in .eps";
    if (ext == ".ps" && wrapping == kEncapsulated) return by() + " writes EPS, not a .ps file";
    return {};
}

}  // namespace

const Dialect* findDialect(const std::string& name) {
    for (const Dialect& d : kDialects)
        if (name == d.name) return &d;
    return nullptr;
}

const PostKind* findPostKind(const std::string& name) {
    for (const PostKind& p : kPostKinds)
        if (name == p.name || name == p.number) return &p;
    return nullptr;
}

const OutputKindName* findOutputKind(const std::string& name) {
    for (const OutputKindName& k : kKinds)
        if (name == k.name) return &k;
    // By number: the first row of that kind.
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '8')
        for (const OutputKindName& k : kKinds)
            if (k.tool == name[0] - '0') return &k;
    return nullptr;
}

std::string outputKindFault(const OutputChoice& choice, const std::string& path) {
    // Asked only where a device would change the answer: a batch names a
    // thousand ordinary files and each look is a trip to the file system.
    const auto device = [&path] { return special(path); };
    const OutputKindName* kind = choice.kind ? choice.kind : kindOfName(path);
    if (!kind) {
        if (device())
            kind = findOutputKind("vector");
        else
            return "the file name (saveto) must end in " + writtenExtensions() +
                   ", the kinds of file this program writes (or give --kind)";
    }
    const auto named = [kind] { return std::string("--kind=") + kind->name; };
    if (choice.kind && !takesExtension(*kind, path) && !device())
        return named() + " writes files ending in " + kind->extensions +
               ": the file name (saveto) must end in one of them";
    if (!vectorKind(kind->tool)) {
        if (choice.dialect) return "--dialect is for EPS, PostScript and PDF files, not " + named();
        if (choice.post) return "--post is for EPS, PostScript and PDF files, not " + named();
        return {};
    }
    if (kind->tool != kOutVector) {
        // Both make an EPS first: PDF is no EPS, and a Type 3 font draws nothing.
        if (choice.dialect && (choice.dialect->ill == kIllPdf || choice.dialect->ill == kIllType3))
            return named() + " needs an EPS dialect, not --dialect=" + choice.dialect->name;
        const int32_t wrapping = choice.post      ? choice.post->purePost
                                 : choice.dialect ? choice.dialect->purePost
                                                  : kEncapsulated;
        if (kind->tool == kOutPcEps && wrapping > kEncapsulated)
            return named() + " writes EPS: PostScript wrapping (--post, --dialect) does not apply";
        return {};
    }
    std::string fault = vectorFault(choice, path);
    return fault.empty() || device() ? std::string() : fault;
}

namespace {

// The kind the file gets: the flags', else its extension's, else vector.
const OutputKindName& kindMade(const OutputChoice& choice, const std::string& path) {
    const OutputKindName* kind = choice.kind ? choice.kind : kindOfName(path);
    return kind ? *kind : *findOutputKind("vector");
}

}  // namespace

int32_t outputTool(const OutputChoice& choice, const std::string& path) {
    return kindMade(choice, path).tool;
}

void applyOutputChoice(const OutputChoice& choice, const std::string& path) {
    const OutputKindName* kind = &kindMade(choice, path);
    int32_t ill = kIll3;
    int32_t post = kEncapsulated;
    if (kind->tool == kOutVector) {
        const std::string_view ext = knownExtension(path);
        if (ext == ".pdf") ill = kIllPdf;
        if (ext == ".ps") ill = kIll5, post = kPlainPostScript;
    }
    if (choice.dialect) {
        ill = choice.dialect->ill;
        if (choice.dialect->purePost >= 0) post = choice.dialect->purePost;
    }
    if (choice.post) post = choice.post->purePost;
    if (kind->ill != 0) ill = kind->ill;
    gOut.tool = kind->tool;
    gOut.ill = ill;
    gOut.purePost = post;
}

void printOutputKinds(std::ostream& out) {
    out << "Output kinds (--kind NAME or --kind=NAME, or the number 0 to 8):\n";
    for (const OutputKindName& k : kKinds) {
        out << "  " << k.name << std::string(14 - std::strlen(k.name), ' ') << k.tool << "  "
            << k.what;
        if (k.extensions[0]) out << " [" << k.extensions << "]";
        out << "\n";
    }
    out << "Without --kind the file name's extension picks the kind: .eps, .ps and .pdf\n"
           "vector, .pic and .pict picture, .tif and .tiff tiff, .bmp bmp300, .txt text.\n";
    out << "Dialects (--dialect NAME or --dialect=NAME):\n";
    for (const Dialect& d : kDialects)
        out << "  " << d.name << std::string(8 - std::strlen(d.name), ' ') << d.what << "\n";
    out << "PostScript wrapping (--post NAME or --post=NAME):\n";
    for (const PostKind& p : kPostKinds)
        out << "  " << p.name << " or " << p.number << std::string(6 - std::strlen(p.name), ' ')
            << p.what << "\n";
    out << "The file name's extension must agree with the kind and the flags; flags that\n"
           "contradict it are refused.\n";
}
