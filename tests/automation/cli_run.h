// Runs the command line in process, as a test drives it, and reads back what it made.
#pragma once

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "automation/cli.h"
#include "support/cases.h"
#include "support/reader.h"

struct CliRun {
    int status = 0;
    std::string out, err;
};

// The arguments after the program's name, and what standard input holds.
inline CliRun run(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), "strixel");
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    std::istringstream in(input);
    std::ostringstream out, err;
    CliRun r;
    r.status = runCommandLine(static_cast<int>(argv.size()), argv.data(), in, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

// A path of the test's own with nothing left there by an earlier run.
inline std::string fresh(const std::string& name) {
    const std::string p = testsupport::tempPath(name);
    std::filesystem::remove_all(p);
    return p;
}

// A record of the keys given (`type:"EAN 13", data:"1"`) that saves to `saveto`.
inline std::string record(const std::string& keys, const std::string& saveto) {
    return "{" + keys + ", saveto:\"" + saveto + "\"}";
}
inline std::string record(const std::string& type, const std::string& data,
                          const std::string& saveto, const std::string& more = "") {
    return record("type:\"" + type + "\", data:\"" + data + "\"" + more, saveto);
}
inline std::string ean13(const std::string& saveto, const std::string& more = "") {
    return record("EAN 13", "400638133393", saveto, more);
}

// Flags written in a case file: words split at blanks.
inline std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// The ink of a file as Ghostscript renders it (EPS cropped to its box).
inline testsupport::Bitmap rendered(const std::string& path, int dpi = 400) {
    const bool eps = path.size() > 4 && path.compare(path.size() - 4, 4, ".eps") == 0;
    const testsupport::Rendered r = testsupport::renderWithGhostscript(path, dpi, eps);
    EXPECT_TRUE(r.ok) << r.err;
    return r.ok ? testsupport::cropToInk(r.bitmap, 80) : testsupport::Bitmap{};
}
