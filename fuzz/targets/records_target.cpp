// Script records of any bytes on standard input, as a user's script or a web
// back end hands them over: braces, keys, quotes and values in any order,
// several records a line, line ends of every kind, text that is no UTF-8. The
// run ends with status 0, 1 or 2 (1 and 2 say why, on standard error), and
// every file it makes is whole: not empty, and no half-made file left behind.
//
// Files are named relative to a folder of this process, which is the working
// folder while the record runs: an input holding a slash could name any file
// of the machine, and is skipped. Printer queues are looked for at a printing
// system that is not there.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "automation/cli.h"
#include "fuzz_common.h"
#include "fuzz_documents.h"
#include "support/reader.h"

namespace {

namespace fs = std::filesystem;
using fuzzing::fail;
using fuzzing::printable;

constexpr size_t kMostInput = 4096;
// Each record can make a symbol; more than this many braces is a batch, which
// the batch benches and tests cover, not a new way in.
constexpr size_t kMostBraces = 24;

// The command lines the records are read under; the files named here are put
// in the folder before each run.
constexpr char kImportFile[] = "r.csv";
constexpr char kOpenedEps[] = "o.eps";
constexpr char kPlainLabel[] = "l.labl";
constexpr char kAskingLabel[] = "q.labl";
constexpr const char* kArgs[][4] = {
    {"-"},
    {"--kind=text-line", "-"},
    {"--kind=text", "-"},
    {"--kind=tiff", "-"},
    {"--kind=picture", "-"},
    {"--kind=pc-eps", "-"},
    {"--kind=bmp72", "-"},
    {"--dialect=pdf", "-"},
    {"--dialect=type3", "-"},
    {"--open", kOpenedEps, "-"},
    {"--open", kPlainLabel, "-"},
    {"--open", kAskingLabel, "-"},
    {"--dialect=press", "--open", kPlainLabel, "-"},
};

// Fields of every sort for import runs: digits, text, quotes, an empty field.
constexpr char kImportRecords[] =
    "400638133393,STRIXEL-1,\"quoted, with comma\",,12345\n"
    "978020137962,Ab\xC3\xA9,x,y,z\r\n"
    "\n"
    "0,-,\"\",1,2\n";

// The files --open reads, made once by the program: an EPS file (its settings
// line), a label document of plain data and one that asks at printing.
struct Opened {
    std::string eps, plain, asking;
};

const Opened& opened() {
    static const Opened files = [] {
        Opened o;
        // A folder of its own: the processes of a forked run make theirs side by side.
        const fuzzing::WorkFolder made("records-seed");
        const fs::path& dir = made.path;
        if (dir.empty()) return o;
        const std::string eps = (dir / kOpenedEps).string();
        const std::string record =
            "{type:\"Code 128\", data:\"OPENED-1\", size:\"120\", saveto:\"" + eps + "\"}";
        const char* argv[] = {"strixel", record.c_str()};
        std::istringstream in;
        std::ostringstream out, err;
        runCommandLine(2, argv, in, out, err);
        o.eps = testsupport::slurp(eps);
        const fs::path plain = dir / kPlainLabel, asking = dir / kAskingLabel;
        fuzzing::saveOneItemDocument("Code 128", "DOC-1", fuzzing::kProModePlain, "", "",
                                     plain.string());
        fuzzing::saveOneItemDocument("EAN 13", "?", fuzzing::kProModePrintTime, "Batch?", "",
                                     asking.string());
        o.plain = testsupport::slurp(plain.string());
        o.asking = testsupport::slurp(asking.string());
        return o;
    }();
    return files;
}

const fs::path& workFolder() {
    static const fuzzing::WorkFolder folder("records");
    return folder.path;
}

// The working folder for as long as a record runs; the old one again after.
struct InFolder {
    int old = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    bool entered = false;
    explicit InFolder(const fs::path& p) { entered = old >= 0 && ::chdir(p.c_str()) == 0; }
    ~InFolder() {
        if (old < 0) return;
        if (entered && ::fchdir(old) != 0) std::abort();  // the rest of the process would be lost
        ::close(old);
    }
};

int finding(const std::string& what) {
    fail(what);
    return 0;
}

bool placed(const std::string& name) {
    return name == kImportFile || name == kOpenedEps || name == kPlainLabel ||
           name == kAskingLabel || name == "config" || name == "data";
}

}  // namespace

// Input: a byte that picks the command line, then the records.
extern "C" int STRIXEL_FUZZ_ENTRY(const uint8_t* in, size_t n) {
    if (n < 1 || n > kMostInput) return 0;
    const auto& args = kArgs[in[0] % std::size(kArgs)];
    const std::string records(reinterpret_cast<const char*>(in + 1), n - 1);
    if (records.find('/') != std::string::npos) return 0;
    if (static_cast<size_t>(std::count(records.begin(), records.end(), '{')) > kMostBraces)
        return 0;

    const fs::path& work = workFolder();
    if (work.empty()) return 0;
    const Opened& files = opened();
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(work, ec)) fs::remove_all(e.path(), ec);
    std::ofstream(work / kImportFile, std::ios::binary) << kImportRecords;
    std::ofstream(work / kOpenedEps, std::ios::binary) << files.eps;
    std::ofstream(work / kPlainLabel, std::ios::binary) << files.plain;
    std::ofstream(work / kAskingLabel, std::ios::binary) << files.asking;
    fs::create_directories(work / "config" / "strixel", ec);
    fs::create_directories(work / "data" / "strixel", ec);

    std::vector<const char*> argv{"strixel"};
    for (const char* a : args)
        if (a) argv.push_back(a);
    const fuzzing::KeptVariable configHome("XDG_CONFIG_HOME", (work / "config").string());
    const fuzzing::KeptVariable dataHome("XDG_DATA_HOME", (work / "data").string());
    const fuzzing::KeptVariable cups("CUPS_SERVER", (work / "no-printing-system").string());
    std::istringstream stdIn(records);
    std::ostringstream stdOut, stdErr;
    int status = 0;
    {
        const InFolder inWork(work);
        if (!inWork.entered) return 0;
        status = runCommandLine(static_cast<int>(argv.size()), argv.data(), stdIn, stdOut, stdErr);
    }

    std::string what = "\n  arguments";
    for (size_t i = 1; i < argv.size(); ++i) what += std::string(" ") + argv[i];
    what += "\n  records \"" + printable(records, 600) + "\"";
    // 2: nothing to do (no record at all), as a wrong argument is.
    if (status < 0 || status > 2)
        return finding("status " + std::to_string(status) + ": " + stdErr.str() + what);
    if (status != 0 && stdErr.str().empty()) return finding("failed without a word" + what);
    for (const auto& e : fs::directory_iterator(work, ec)) {
        const std::string name = e.path().filename().string();
        if (placed(name)) continue;
        if (!e.is_regular_file()) return finding("not a file: " + name + what);
        if (name.rfind(".strixel-", 0) == 0 && e.path().extension() == ".tmp")
            return finding("a half-made file left: " + name + what);
        if (e.file_size(ec) == 0) return finding("an empty file: " + name + what);
    }
    return 0;
}
