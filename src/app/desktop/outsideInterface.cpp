#include "app/desktop/outsideInterface.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/desktop/commands.h"
#include "app/desktop/eventLoop.h"
#include "app/desktop/outsideKeys.h"
#include "app/defaultsFile.h"
#include "app/preferences.h"
#include "app/shell.h"
#include "automation/cli.h"
#include "automation/options.h"
#include "labels/labelFile.h"
#include "labels/printState.h"
#include "labels/runs/itemOps.h"
#include "platform/macroman.h"
#include "platform/toolbox/pstrings.h"
#include "platform/toolbox/qt_glue.h"
#include "platform/toolbox/windows.h"
#include "symbology/host.h"
#include "symbology/messages.h"

namespace {

// The high-level event that tells the loop requests wait: class 'SXLD', id 'req '.
constexpr uint32_t kRequestClass = 0x53584C44;
constexpr uint32_t kRequestID = 0x72657120;

constexpr int kConnectMs = 2000;
// A sender has this long to send its whole message; then it is refused.
constexpr int kArrivalMs = 5000;
// Requests still waiting ring the loop's bell again this often, in case a
// modal window's loop dropped the event.
constexpr int kDoorbellMs = 1000;

constexpr int16_t kMessageNoLayout = 11;
constexpr int16_t kMessageThermal = 12;
// A message box shows a Pascal string's length at most.
constexpr size_t kMostShownReport = platform::kPascalMost;
// Marks where a text too long for the box was cut: "…" in Mac OS Roman.
constexpr char kCutMark = '\xC9';

OutsideCounts gCounts;
QLocalServer* gServer = nullptr;
std::deque<OutsideRequest> gWaiting;
// Failures of script runs, shown by the program's own loop: a run ends inside
// the process's signal, where no window may wait for an answer.
std::deque<std::string> gScriptReports;
QTimer* gDoorbell = nullptr;
bool gHandOffTried = false;

void log(const std::string& text) { std::fprintf(stderr, "strixel-desktop: %s\n", text.c_str()); }

// A refusal's reason may quote what was sent: it is logged and answered short
// and without control characters.
constexpr size_t kMostReasonBytes = 300;

void refuse(const std::string& why) {
    std::string reason = why.substr(0, kMostReasonBytes);
    for (char& c : reason)
        if (static_cast<unsigned char>(c) < ' ' || c == 0x7F) c = '?';
    ++gCounts.refused;
    gCounts.lastRefusal = reason;
    log("refused a request from outside: " + reason);
}

// The user who runs this program is the only one who may send requests.
bool senderIsUser(QLocalSocket* s) {
    ucred cred{};
    socklen_t size = sizeof cred;
    const int fd = int(s->socketDescriptor());
    return fd >= 0 && ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &size) == 0 &&
           cred.uid == ::getuid();
}

void ringDoorbell() {
    toolbox::PostHighLevelEvent(kRequestClass, kRequestID, {});
    if (!gDoorbell) {
        gDoorbell = new QTimer;
        gDoorbell->setInterval(kDoorbellMs);
        QObject::connect(gDoorbell, &QTimer::timeout, [] {
            toolbox::EventRecord e;
            if (gWaiting.empty() && gScriptReports.empty())
                gDoorbell->stop();
            else if (!toolbox::EventAvail(uint16_t(toolbox::highLevelEventMask), &e))
                toolbox::PostHighLevelEvent(kRequestClass, kRequestID, {});
        });
    }
    gDoorbell->start();
}

// One sender: its message read whole (bounded in size and time), checked, and
// answered; nothing of a refused message is kept.
void receive(QLocalSocket* s) {
    auto buffer = std::make_shared<QByteArray>();
    auto answered = std::make_shared<bool>(false);
    auto* timer = new QTimer(s);
    timer->setSingleShot(true);
    auto answer = [s, answered, timer](const std::string& text) {
        *answered = true;
        timer->stop();
        s->write((text + "\n").c_str());
        s->flush();
        s->disconnectFromServer();
    };
    auto refuseWith = [answer](const std::string& why) {
        refuse(why);
        answer(kRefusedAnswer + gCounts.lastRefusal);
    };
    // Takes what has come: true once the message is answered.
    auto consider = [buffer, answer, refuseWith] {
        size_t size = 0;
        std::string why;
        const std::string_view bytes(buffer->constData(), size_t(buffer->size()));
        switch (requestArrival(bytes, &size, &why)) {
            case RequestArrival::incomplete:
                return false;
            case RequestArrival::malformed:
                refuseWith(why);
                return true;
            case RequestArrival::complete:
                break;
        }
        std::vector<OutsideRequest> requests;
        if (!decodeRequests(bytes, &requests, &why)) {
            refuseWith(why);
            return true;
        }
        ++gCounts.taken;
        queueRequests(requests);
        answer(kTakenAnswer);
        return true;
    };
    QObject::connect(s, &QLocalSocket::disconnected, s, [s, buffer, answered, consider] {
        if (!*answered) {
            buffer->append(s->readAll());
            // Nothing sent: a copy looking for a running one, not a request.
            if (!buffer->isEmpty() && !consider())
                refuse("the sender went away before its message was whole");
        }
        *answered = true;
        s->deleteLater();
    });
    QObject::connect(timer, &QTimer::timeout, s, [refuseWith, answered] {
        if (!*answered) refuseWith("the message did not arrive whole in time");
    });
    QObject::connect(s, &QLocalSocket::readyRead, s, [s, buffer, answered, consider] {
        if (*answered) {
            s->readAll();
            return;
        }
        buffer->append(s->readAll());
        consider();
    });
    if (!senderIsUser(s)) {
        refuseWith("the sender is not the user who runs this program");
        return;
    }
    timer->start(kArrivalMs);
}

// A report (UTF-8) for a message box: Mac OS Roman, '?' for a character it
// lacks, at most `most` characters. Converted before it is cut, a character a
// byte, so that the cut never splits one; the cut is marked.
std::string shownReport(const std::string& utf8, size_t most = kMostShownReport) {
    std::string roman = platform::utf8ToMacRomanShown(utf8);
    while (!roman.empty() && (roman.back() == '\n' || roman.back() == '\r')) roman.pop_back();
    if (roman.size() > most && most > 0) {
        roman.resize(most - 1);
        roman += kCutMark;
    }
    return roman;
}

// ---- Script runs -------------------------------------------------------------------------

struct ScriptJob {
    std::string text, folder, source;
};
std::deque<ScriptJob> gScripts;
QProcess* gScriptRun = nullptr;
std::string gScriptProgram;

std::string scriptProgram() {
    if (!gScriptProgram.empty()) return gScriptProgram;
    const std::string beside = GetFolderLocation() + "strixel";
    if (GetFolderLocation().size() > 0 && ::access(beside.c_str(), X_OK) == 0) return beside;
    return QStandardPaths::findExecutable(QStringLiteral("strixel")).toStdString();
}

void scriptFailed(const ScriptJob& job, const std::string& report) {
    log("the script " + job.source + " did not run whole: " + report);
    gScriptReports.push_back("The script " + job.source + " did not run whole: " + report);
    ringDoorbell();
}

void showScriptReports() {
    while (!gScriptReports.empty()) {
        const std::string text = gScriptReports.front();
        gScriptReports.pop_front();
        MessageText(shownReport(text).c_str());
    }
}

void startNextScript();

void scriptEnded(QProcess* p, const ScriptJob& job, bool started) {
    if (p != gScriptRun) return;  // reported already
    gScriptRun = nullptr;
    if (!started)
        scriptFailed(job, "the command-line program could not be started");
    else if (p->exitStatus() != QProcess::NormalExit)
        scriptFailed(job, "the command-line program ended abnormally");
    else if (p->exitCode() != 0)
        scriptFailed(job, p->readAllStandardError().toStdString());
    p->deleteLater();
    startNextScript();
    // A quit that waits for the scripts goes ahead once the last has ended.
    if (scriptsPending() == 0 && !gWaiting.empty()) ringDoorbell();
}

// What the child runs between fork and exec: it enters `folder`, or ends with
// a report that names it. Only calls safe in a forked child; the report is
// made before.
std::function<void()> enterFolderOrEnd(const std::string& folder) {
    const std::string report = "its folder " + folder + " cannot be entered\n";
    return [folder, report] {
        if (::chdir(folder.c_str()) == 0) return;
        const ssize_t written = ::write(STDERR_FILENO, report.data(), report.size());
        (void)written;  // the exit status tells the run failed all the same
        ::_exit(EXIT_FAILURE);
    };
}

void startNextScript() {
    if (gScriptRun || gScripts.empty()) return;
    const ScriptJob job = gScripts.front();
    gScripts.pop_front();
    std::error_code ec;
    if (!std::filesystem::is_directory(job.folder, ec)) {
        scriptFailed(job, "its folder " + job.folder + " is not there");
        return startNextScript();
    }
    const std::string program = scriptProgram();
    if (program.empty()) {
        scriptFailed(job, "the command-line program strixel is not installed");
        return startNextScript();
    }
    auto* p = new QProcess;
    gScriptRun = p;
    p->setProgram(QString::fromStdString(program));
    p->setArguments({QStringLiteral("-")});
    // The child enters the folder by its bytes: a QString would garble a name
    // that is not UTF-8, and the child could not be started there.
    p->setChildProcessModifier(enterFolderOrEnd(job.folder));
    p->setStandardOutputFile(QProcess::nullDevice());
    QObject::connect(p, &QProcess::finished, [p, job] { scriptEnded(p, job, true); });
    QObject::connect(p, &QProcess::errorOccurred, [p, job](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) scriptEnded(p, job, false);
    });
    p->start();
    p->write(job.text.data(), qint64(job.text.size()));
    p->closeWriteChannel();
}

void applyRequest(const OutsideRequest& r) {
    switch (r.kind) {
        case RequestKind::open:
            openDocumentFromOutside(r.path);
            return;
        case RequestKind::print:
            if (looksLikeEps(r.path)) {
                Message(kMessageNoLayout);
                return;
            }
            if (!openDocumentFromOutside(r.path)) return;
            if (gPrint.thermalPrint) {
                Message(kMessageThermal);
                return;
            }
            gPrint.printLoop = 1;
            doPrint();
            return;
        case RequestKind::script:
            runScriptRecords(r.text, r.folder, "from outside");
            return;
        case RequestKind::quit:
            requestQuit();
            return;
    }
}

// What the command line asks, handed to a running copy: the status to end
// with, or none when this copy goes on.
std::optional<int> handOff(const std::vector<std::string>& args) {
    if (asksForUsage(args)) {
        // A usage lost on a full disk or a closed output is a failure.
        if (std::fputs(desktopUsage(), stdout) < 0 || std::fflush(stdout) != 0) {
            log("the usage could not be written to standard output");
            return 1;
        }
        return 0;
    }
    std::error_code ec;
    const std::string cwd = std::filesystem::current_path(ec).string();
    std::vector<OutsideRequest> requests;
    std::string why;
    if (!parseDesktopArguments(args, cwd, &requests, &why)) {
        log(why);
        return 2;
    }
    if (requests.empty()) return std::nullopt;
    const std::string path = outsideSocketPath(&why);
    if (path.empty()) return std::nullopt;
    std::string answer;
    switch (sendToRunningCopy(path, encodeRequests(requests), &answer)) {
        case HandOffResult::noCopy:
            return std::nullopt;
        case HandOffResult::taken:
            return 0;
        case HandOffResult::refused:
            log("the running copy did not take the request: " +
                (answer.empty() ? std::string("no answer") : answer));
            return 1;
    }
    return 1;
}

}  // namespace

void installOutsideInterface() {
    setLoopHandler("DoHighLevelEvent",
                   [](WindowPtr, int32_t) { return DoHighLevelEvent(gLoop.gmyEvent); });
    installOutsideKeys();
}

std::optional<int> handOffToRunningCopy(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    // Before the window system has taken its own options ("-platform xcb"), an
    // option of one dash may be one of them: InstallHandlers decides then.
    for (const std::string& a : args) {
        if (a == "--") break;
        if (a.size() > 1 && a[0] == '-' && a[1] != '-' && a != "-h") return std::nullopt;
    }
    gHandOffTried = true;
    return handOff(args);
}

void InstallHandlers(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (!gHandOffTried) {
        gHandOffTried = true;
        if (const std::optional<int> status = handOff(args)) {
            std::fflush(nullptr);
            std::exit(*status);
        }
    }
    std::error_code ec;
    std::vector<OutsideRequest> requests;
    std::string why;
    if (!parseDesktopArguments(args, std::filesystem::current_path(ec).string(), &requests, &why))
        log(why);
    const std::string path = outsideSocketPath(&why);
    if (path.empty() || !listenForRequests(path, &why))
        log("documents and scripts cannot be handed to this copy: " + why);
    queueRequests(requests);
}

int32_t DoHighLevelEvent(const toolbox::EventRecord& event) {
    if (event.message != kRequestClass) return 0;
    // Each request once, oldest first; one that sends more (a script's
    // failure box) finds the rest still waiting.
    for (showScriptReports(); !gWaiting.empty(); showScriptReports()) {
        // A quit waits until the scripts waiting or running have run, so that
        // `--script RECORDS --quit` makes its files; each run ends on its own.
        if (gWaiting.front().kind == RequestKind::quit && scriptsPending() > 0) break;
        const OutsideRequest r = gWaiting.front();
        gWaiting.pop_front();
        applyRequest(r);
    }
    return 1;
}

void CleanUpEvents() {}

void resetOutsideInterface() {
    closeOutsideInterface();
    gWaiting.clear();
    gScriptReports.clear();
    gCounts = OutsideCounts{};
}

void closeOutsideInterface() {
    if (gServer) {
        gServer->close();
        delete gServer;
        gServer = nullptr;
    }
}

bool listening() { return gServer && gServer->isListening(); }

bool listenForRequests(const std::string& socketPath, std::string* why) {
    toolbox::StartDesktop(nullptr, nullptr);
    closeOutsideInterface();
    const QString name = QString::fromStdString(socketPath);
    {
        // A socket that answers belongs to a running copy: it stays its own.
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(kConnectMs)) {
            *why = "another copy listens at " + socketPath;
            return false;
        }
    }
    QLocalServer::removeServer(name);  // left behind by a copy that ended
    gServer = new QLocalServer;
    gServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!gServer->listen(name)) {
        *why = "cannot listen at " + socketPath + ": " + gServer->errorString().toStdString();
        delete gServer;
        gServer = nullptr;
        return false;
    }
    QObject::connect(gServer, &QLocalServer::newConnection, [] {
        while (gServer && gServer->hasPendingConnections())
            receive(gServer->nextPendingConnection());
    });
    return true;
}

void queueRequests(const std::vector<OutsideRequest>& requests) {
    if (requests.empty()) return;
    gWaiting.insert(gWaiting.end(), requests.begin(), requests.end());
    ringDoorbell();
}

const OutsideCounts& outsideCounts() { return gCounts; }

bool takeEpsSettings(const std::string& path) {
    if (GetSettingsFromEpsAt(path, ConvertString) != 1) {
        const std::string head = "The EPS file ",
                          tail = " holds no settings of this program to take.";
        const size_t room = kMostShownReport - head.size() - tail.size();
        MessageText((head + shownReport(path, room) + tail).c_str());
        return false;
    }
    showSymbolSettings();
    if (WindowPtr main = gWindows.wp) toolbox::InvalWindowRect(main, main->portRect);
    return true;
}

bool openDocumentFromOutside(const std::string& path) {
    if (looksLikeEps(path)) {
        takeEpsSettings(path);
        return false;
    }
    // The open layout is replaced: its changes are offered for saving first.
    if (!saveChanges()) return false;
    // As File > Open: a document that fails keeps the layout under its own
    // name, so that a save cannot write it over the file that failed.
    if (openDocumentAt(path) != 1) return false;
    selectAllItems(0);
    return true;
}

void doPrint() {
    selectAllItems(0);
    if (WindowPtr main = gWindows.wp) toolbox::InvalWindowRect(main, main->portRect);
    callLoopHandler("deactivateAll", nullptr, 0);
    gPrint.printScreen = 1;
    callLoopHandler("ShowPrintWin", gWindows.PrintWin, 0);
}

void runScriptRecords(const std::string& text, const std::string& folder,
                      const std::string& source) {
    gScripts.push_back({text, folder, source});
    startNextScript();
}

void setScriptProgram(const std::string& path) { gScriptProgram = path; }

size_t scriptsPending() { return gScripts.size() + (gScriptRun ? 1 : 0) + gScriptReports.size(); }
