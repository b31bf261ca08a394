// The command line: makes symbol files from script records.
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <streambuf>

#include "automation/cli.h"
#include "platform/standardFiles.h"

namespace {

// Standard input in large reads: std::cin, kept in step with C's stdio, takes
// it a byte at a time, which a batch of many thousand records feels. A read
// returns what has arrived, so records typed at a terminal are made line by line.
class StandardInput : public std::streambuf {
  protected:
    int_type underflow() override {
        ssize_t n = 0;
        do n = ::read(STDIN_FILENO, buf_, sizeof buf_);
        while (n < 0 && errno == EINTR);
        if (n <= 0) return traits_type::eof();
        setg(buf_, buf_, buf_ + n);
        return traits_type::to_int_type(buf_[0]);
    }

  private:
    char buf_[65536];
};

}  // namespace

int main(int argc, char** argv) {
    platform::takeClosedStandardDescriptors();
    StandardInput input;
    std::istream in(&input);
    return runCommandLine(argc, argv, in, std::cout, std::cerr);
}
