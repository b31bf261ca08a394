#include "automation/outputchoice.h"

#include <sys/stat.h>

#include <cstring>
#include <ostream>

#include "symbology/state.h"
#include "vector/Epsout.h"

namespace {

constexpr int kToolVectorFile = 2;
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

// The extensions the program writes, as the file's kind.
enum class Kind { eps, ps, pdf, none };
struct Extension {
    const char* text;
    Kind kind;
};
constexpr Extension kExtensions[] = {{".eps", Kind::eps}, {".ps", Kind::ps}, {".pdf", Kind::pdf}};

bool endsWithFolded(const std::string& s, const char* tail) {
    const size_t n = std::strlen(tail);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        char a = s[s.size() - n + i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
        if (a != tail[i]) return false;
    }
    return true;
}

Kind kindOfName(const std::string& path) {
    for (const Extension& e : kExtensions)
        if (endsWithFolded(path, e.text)) return e.kind;
    return Kind::none;
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

std::string outputKindFault(const OutputChoice& choice, const std::string& path) {
    if (special(path)) return {};
    const Kind kind = kindOfName(path);
    if (kind == Kind::none)
        return "the file name (saveto) must end in " + writtenExtensions() +
               ", the kinds of file this program writes";
    const bool pdfDialect = choice.dialect && choice.dialect->ill == kIllPdf;
    const std::string dialect =
        choice.dialect ? std::string("--dialect=") + choice.dialect->name : "";
    const std::string post = choice.post ? std::string("--post=") + choice.post->name : "";
    if (kind == Kind::pdf) {
        if (choice.dialect && !pdfDialect) return dialect + " writes PostScript, not a .pdf file";
        if (choice.post) return post + " is for PostScript files, not a .pdf file";
        return {};
    }
    const char* ext = kind == Kind::eps ? ".eps" : ".ps";
    if (pdfDialect) return dialect + " writes PDF, not a " + ext + " file";
    // What reaches the file: --post overrides the dialect's own wrapping.
    int32_t wrapping = choice.dialect ? choice.dialect->purePost : -1;
    if (choice.post) wrapping = choice.post->purePost;
    const std::string by = choice.post ? post : dialect;
    if (kind == Kind::eps && wrapping > kEncapsulated)
        return by + " writes PostScript, not EPS: the file name ends in .eps";
    if (kind == Kind::ps && wrapping == kEncapsulated) return by + " writes EPS, not a .ps file";
    return {};
}

void applyOutputChoice(const OutputChoice& choice, const std::string& path) {
    int32_t ill = kIll3;
    int32_t post = kEncapsulated;
    const Kind kind = kindOfName(path);
    if (kind == Kind::pdf) ill = kIllPdf;
    if (kind == Kind::ps) ill = kIll5, post = kPlainPostScript;
    if (choice.dialect) {
        ill = choice.dialect->ill;
        if (choice.dialect->purePost >= 0) post = choice.dialect->purePost;
    }
    if (choice.post) post = choice.post->purePost;
    gOut.tool = kToolVectorFile;
    gOut.ill = ill;
    gOut.purePost = post;
}

void printOutputKinds(std::ostream& out) {
    out << "Dialects (--dialect NAME or --dialect=NAME):\n";
    for (const Dialect& d : kDialects)
        out << "  " << d.name << std::string(8 - std::strlen(d.name), ' ') << d.what << "\n";
    out << "PostScript wrapping (--post NAME or --post=NAME):\n";
    for (const PostKind& p : kPostKinds)
        out << "  " << p.name << " or " << p.number << std::string(6 - std::strlen(p.name), ' ')
            << p.what << "\n";
    out << "The file name's extension picks the kind (" << writtenExtensions()
        << ");\nflags that contradict it are refused.\n";
}
