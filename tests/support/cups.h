// A private printing system for the tests: cupsd with its own configuration,
// spool and socket in a temporary folder, and a loopback listener that plays an
// AppSocket printer and keeps the bytes of the job it is sent.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <string>
#include <thread>

namespace testsupport {

// Takes one connection on a loopback port and keeps what arrives; join()
// waits until the sender has closed it.
struct Listener {
    int fd = -1;
    int port = 0;
    std::string received;
    std::thread thread;
    Listener();
    ~Listener();
    void join();

  private:
    void take();
};

// cupsd on a private socket; stopped when the object goes, whatever happens.
// After start() the program's printing calls talk to it (CUPS_SERVER).
struct PrivateCups {
    std::string dir, socketDir, socketPath;
    pid_t pid = -1;
    bool start();
    // Adds an enabled raw queue whose device is socket://127.0.0.1:port.
    bool addQueue(const std::string& name, int port, std::string* why);
    std::string log() const;
    ~PrivateCups();
};

// Starts `cups`, checks that `printer` listens and adds the queue `name` that
// sends to it; on failure the result carries cupsd's log or the reason.
testing::AssertionResult startQueue(PrivateCups& cups, const Listener& printer,
                                    const std::string& name);

// True when cupsd is installed (Debian package cups-daemon).
bool haveCupsd();

}  // namespace testsupport
