// Runs the command line in process, as a test drives it.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "automation/cli.h"

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
