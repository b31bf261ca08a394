// The command line: makes symbol files from script records.
#include <iostream>

#include "automation/cli.h"

int main(int argc, char** argv) {
    return runCommandLine(argc, argv, std::cin, std::cout, std::cerr);
}
