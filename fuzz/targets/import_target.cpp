// An import file of any bytes (fields quoted or not, line ends of every kind,
// NUL bytes, UTF-8 or not) through the command line: an import run of symbols
// by a record template naming any field, each file named after any field, or a
// label document whose item takes its records, printed to a PDF file. The run
// ends with status 0 or 1 (1 says why); every file it makes lies where it was
// told, is not empty, and no half-made file is left behind.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "automation/cli.h"
#include "fuzz_common.h"
#include "fuzz_documents.h"

namespace {

namespace fs = std::filesystem;
using fuzzing::fail;
using fuzzing::printable;

constexpr size_t kMostTemplate = 80;
constexpr size_t kMostFile = 16 * 1024;

// Code types that take any text, digits only, or a matrix of bytes.
constexpr const char* kTypes[] = {"Code 128", "Code 39",    "EAN 13",     "UPC A",
                                  "Codabar",  "ITF",        "GS1 128",    "QRCode",
                                  "PDF417",   "Datamatrix", "Databar 14", "Telepen"};

struct Kind {
    const char* flag;  // the command line's kind (and dialect), or --open
    bool folder;       // a file a record, or one file of text lines
};
constexpr char kOpen[] = "--open";
constexpr Kind kKinds[] = {{"--kind=text-line", false}, {"--kind=vector", true},
                           {"--kind=text", true},       {"--kind=tiff", true},
                           {"--kind=picture", true},    {"--dialect=pdf", true},
                           {"--kind=pc-eps", true},     {"--kind=bmp72", true},
                           {"--kind=text-utf16", true}, {kOpen, false}};

// Settings the records are made with: none, or the far ends of the ranges.
constexpr const char* kMoreKeys[] = {"",
                                     ", size:\"10\"",
                                     ", size:\"327\", height:\"327\"",
                                     ", height:\"1.01\"",
                                     ", height:\"4\", bwr:\"999\"",
                                     ", options:\"2\"",
                                     ", options:\"Q4\", colour:\"100 0 0 0\""};

const fs::path& workFolder() {
    static const fuzzing::WorkFolder folder("import");
    return folder.path;
}

// The template as a record value: nothing that ends the value or the record.
std::string asValue(const std::string& text) {
    std::string v;
    for (char c : text)
        if (c != '"' && c != '{' && c != '}' && c != '\n' && c != '\r' && c != 0) v += c;
    return v.empty() ? "<<1>>" : v;
}

int finding(const std::string& what) {
    fail(what);
    return 0;
}

std::string describe(const std::vector<std::string>& args, const std::string& file) {
    std::string d;
    for (const std::string& a : args) d += "\n  " + printable(a);
    return d + "\n  file \"" + printable(file) + "\"";
}

constexpr size_t kEndOfFileTail = 8;  // %%EOF and its line end

}  // namespace

// Input: type byte, kind byte (the kind, then the settings), a byte of start (2 bits), title field
// (2 bits) and count (4 bits), the template up to a line feed, then the import file.
extern "C" int STRIXEL_FUZZ_ENTRY(const uint8_t* in, size_t n) {
    if (n < 4) return 0;
    const char* type = kTypes[in[0] % std::size(kTypes)];
    const Kind& kind = kKinds[in[1] % std::size(kKinds)];
    const char* more = kMoreKeys[in[1] / std::size(kKinds) % std::size(kMoreKeys)];
    const int start = 1 + (in[2] & 3);
    const int title = (in[2] >> 2) & 3;
    const int count = 1 + (in[2] >> 4);
    const std::string rest(reinterpret_cast<const char*>(in + 3), n - 3);
    const size_t feed = rest.find('\n');
    if (feed == std::string::npos || feed > kMostTemplate) return 0;
    const std::string templ = asValue(rest.substr(0, feed));
    const std::string file = rest.substr(feed + 1);
    if (file.size() > kMostFile) return 0;

    const fs::path& work = workFolder();
    if (work.empty()) return 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(work, ec)) fs::remove_all(e.path(), ec);
    const fs::path records = work / "records.csv";
    const fs::path out = work / "out";
    const fs::path lines = work / "lines.txt";
    std::ofstream(records, std::ios::binary) << file;
    fs::create_directory(out, ec);

    const fs::path doc = work / "labels.labl";
    const fs::path pdf = work / "labels.pdf";
    const fs::path config = work / "config";
    const fs::path data = work / "data";
    const bool document = kind.flag == kOpen;
    std::vector<std::string> args = {"strixel", kind.flag};
    if (document) {
        if (!fuzzing::saveOneItemDocument(type, templ, fuzzing::kProModeImport, "",
                                          records.string(), doc.string()))
            return 0;
        // Printing keeps its settings in the preferences folder: one of this process.
        fs::create_directories(config / "strixel", ec);
        fs::create_directories(data / "strixel", ec);
        args.push_back(doc.string());
        args.push_back("{printer:\"" + pdf.string() + "\", number:\"" + std::to_string(count) +
                       "\"}");
    } else {
        const std::string saveto = kind.folder ? out.string() + "/" : lines.string();
        args.push_back("{type:\"" + std::string(type) + "\", data:\"" + templ + "\"" + more +
                       ", import:\"" + records.string() + "|" + std::to_string(start) + "|" +
                       std::to_string(title) + "|" + std::to_string(count) + "\", saveto:\"" +
                       saveto + "\"}");
    }
    const fuzzing::KeptVariable configHome("XDG_CONFIG_HOME", config.string());
    const fuzzing::KeptVariable dataHome("XDG_DATA_HOME", data.string());
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    std::istringstream stdIn;
    std::ostringstream stdOut, stdErr;
    const int status =
        runCommandLine(static_cast<int>(argv.size()), argv.data(), stdIn, stdOut, stdErr);

    const std::string what = describe(args, file);
    if (status != 0 && status != 1)
        return finding("status " + std::to_string(status) + ": " + stdErr.str() + what);
    if (status == 1 && stdErr.str().empty()) return finding("failed without a word" + what);
    for (const auto& e : fs::directory_iterator(work, ec)) {
        const fs::path& p = e.path();
        if (p != records && p != out && p != lines && p != doc && p != pdf && p != config &&
            p != data)
            return finding("a file outside the output: " + p.string() + what);
    }
    int made = 0;
    for (const auto& e : fs::directory_iterator(out, ec)) {
        const std::string name = e.path().filename().string();
        if (!e.is_regular_file()) return finding("not a file in the output: " + name + what);
        if (name.rfind(".strixel-", 0) == 0 && e.path().extension() == ".tmp")
            return finding("a half-made file left: " + name + what);
        if (e.file_size(ec) == 0) return finding("an empty file: " + name + what);
        ++made;
    }
    if (status == 0) {
        if (kind.folder && made == 0) return finding("made nothing and said nothing" + what);
        if (document) {
            std::ifstream f(pdf, std::ios::binary);
            const std::string printed(std::istreambuf_iterator<char>(f), {});
            const size_t end = printed.rfind("%%EOF");
            if (printed.rfind("%PDF-", 0) != 0 || end == std::string::npos ||
                printed.size() - end > kEndOfFileTail)
                return finding("printed no whole PDF and said nothing" + what);
        } else if (!kind.folder && (!fs::exists(lines) || fs::file_size(lines, ec) == 0)) {
            return finding("no text lines and nothing said" + what);
        }
    }
    return 0;
}
