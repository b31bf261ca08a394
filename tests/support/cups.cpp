#include "support/cups.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cups/cups.h>

#include <cstdlib>
#include <fstream>

#include "support/reader.h"

namespace testsupport {

namespace {

std::string folderOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

void spit(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

Listener::Listener() {
    fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), len) != 0 || listen(fd, 1) != 0) return;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    thread = std::thread([this] { take(); });
}

void Listener::take() {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 60000) <= 0) return;
    const int c = accept(fd, nullptr, nullptr);
    if (c < 0) return;
    char buf[65536];
    for (;;) {
        pollfd q{c, POLLIN, 0};
        if (poll(&q, 1, 30000) <= 0) break;
        const ssize_t n = read(c, buf, sizeof buf);
        if (n <= 0) break;
        received.append(buf, size_t(n));
    }
    close(c);
}

void Listener::join() {
    if (thread.joinable()) thread.join();
}

Listener::~Listener() {
    join();
    close(fd);
}

bool haveCupsd() { return access("/usr/sbin/cupsd", X_OK) == 0; }

bool PrivateCups::start() {
    dir = folderOf(tempPath("cups"));
    // A socket path holds at most 107 bytes, and the test folder lies deep in
    // the build tree: the socket gets a short folder of its own.
    char shortDir[] = "/tmp/strixel-cups-XXXXXX";
    if (mkdtemp(shortDir) == nullptr) return false;
    socketDir = shortDir;
    socketPath = socketDir + "/cups.sock";
    for (const char* sub : {"/state", "/cache", "/spool", "/tmp", "/bin", "/bin/backend"})
        mkdir((dir + sub).c_str(), 0755);
    // The queue's device: what an AppSocket printer does, the job's bytes
    // sent as they are to the host and port of the device address.
    spit(dir + "/bin/backend/socket",
         "#!/bin/bash\n"
         "[ $# -eq 0 ] && exit 0\n"
         "hp=${DEVICE_URI#socket://}; hp=${hp%%\\?*}\n"
         "exec 3<>/dev/tcp/${hp%:*}/${hp#*:} || exit 1\n"
         "cat \"${6:-/dev/stdin}\" >&3\n");
    chmod((dir + "/bin/backend/socket").c_str(), 0700);
    for (const char* sub : {"daemon", "notifier", "filter", "cgi-bin", "driver", "monitor"})
        symlink((std::string("/usr/lib/cups/") + sub).c_str(), (dir + "/bin/" + sub).c_str());
    spit(dir + "/cupsd.conf", "Listen " + socketPath +
                                  "\nLogLevel warn\nBrowsing Off\nWebInterface No\n"
                                  "<Location />\nOrder allow,deny\nAllow all\n</Location>\n");
    spit(dir + "/cups-files.conf",
         "ServerRoot " + dir + "\nStateDir " + dir + "/state\nCacheDir " + dir +
             "/cache\nRequestRoot " + dir + "/spool\nTempDir " + dir + "/tmp\nServerBin " + dir +
             "/bin\nDataDir /usr/share/cups\nAccessLog " + dir + "/access_log\nErrorLog " + dir +
             "/error_log\nPageLog " + dir +
             "/page_log\nUser lp\nGroup lp\nFileDevice No\nSandboxing Relaxed\n");
    pid = fork();
    if (pid == 0) {
        execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", (dir + "/cupsd.conf").c_str(), "-s",
              (dir + "/cups-files.conf").c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 100; ++i) {
        if (access(socketPath.c_str(), F_OK) == 0) {
            setenv("CUPS_SERVER", socketPath.c_str(), 1);
            cupsSetServer(socketPath.c_str());
            return true;
        }
        usleep(100000);
    }
    return false;
}

bool PrivateCups::addQueue(const std::string& name, int port, std::string* why) {
    const RunResult added =
        runCommand("lpadmin -h '" + socketPath + "' -p " + name +
                   " -E -v socket://127.0.0.1:" + std::to_string(port) + " 2>&1");
    *why = added.out + log();
    return added.status == 0;
}

testing::AssertionResult startQueue(PrivateCups& cups, const Listener& printer,
                                    const std::string& name) {
    if (!cups.start()) return testing::AssertionFailure() << "cupsd did not start\n" << cups.log();
    if (printer.port <= 0) return testing::AssertionFailure() << "the listener has no port";
    std::string why;
    if (!cups.addQueue(name, printer.port, &why)) return testing::AssertionFailure() << why;
    return testing::AssertionSuccess();
}

std::string PrivateCups::log() const { return slurp(dir + "/error_log"); }

PrivateCups::~PrivateCups() {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    cupsSetServer(nullptr);
    unsetenv("CUPS_SERVER");
    if (!socketDir.empty()) {
        unlink(socketPath.c_str());
        rmdir(socketDir.c_str());
    }
}

}  // namespace testsupport
