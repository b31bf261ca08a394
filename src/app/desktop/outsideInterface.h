// The desktop program's outside interface: documents, print requests and
// script records that reach it from outside, the Scripts menu, opening a file
// with the desktop's own program, the hot key and the switching between
// programs, and the key and tool-tip handlers the event loop routes here.
//
// A second `strixel-desktop FILE...` (or `--print FILE`, `--script RECORDS`,
// `--script FILE`, `--quit`) hands its requests to the copy already running
// through a local socket in the user's runtime folder and ends; when no copy
// runs it becomes the first one and does its requests itself once started.
// Requests wait in the event queue as high-level events, so they are done
// between two events, never inside a modal window's loop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app/outsideRequests.h"
#include "platform/toolbox/events.h"

// Registers the loop handlers of the outside interface ("DoHighLevelEvent",
// and the keys and tips of outsideKeys.h).
void installOutsideInterface();

// ---- Requests from outside ---------------------------------------------------------------

// When another copy runs and the command line has requests, hands them over and
// answers the status this copy ends with: 0 taken, 1 refused or not answered;
// 2 for a command line that is wrong whether a copy runs or not. Empty: this
// copy goes on (no copy runs, or nothing to hand over). Needs no window system:
// called first thing in main, a script is handed over also where no display
// is. An option of one dash (the window system's own, such as "-platform")
// leaves the decision to InstallHandlers, once the window system has taken them.
std::optional<int> handOffToRunningCopy(int argc, char** argv);
// Start-up: hands off and ends the program when another copy takes the
// requests; otherwise listens on the socket and queues the command line's own
// requests for the event loop.
void InstallHandlers(int argc, char** argv);
// Does the request that a high-level event carries. 1 when it was one of ours.
int32_t DoHighLevelEvent(const toolbox::EventRecord& event);
// Nothing to tidy at the end: the socket goes with closeOutsideInterface.
void CleanUpEvents();
// Stops listening and removes the socket.
void closeOutsideInterface();
// Tests: not listening, no request waiting, the counts at 0.
void resetOutsideInterface();

// The pieces, for tests and the program's own start.
bool listenForRequests(const std::string& socketPath, std::string* why);
bool listening();
// Puts each request into the event queue as a high-level event.
void queueRequests(const std::vector<OutsideRequest>& requests);
// What the listening copy has received: messages taken and refused.
struct OutsideCounts {
    int32_t taken = 0;
    int32_t refused = 0;
    std::string lastRefusal;
};
const OutsideCounts& outsideCounts();

// Opens a label document (loadObjects) or takes the settings of an EPS file
// made by the program (GetSettingsFromEps). True when a label document was opened.
bool openDocumentFromOutside(const std::string& path);
// Applies the settings of the EPS file at path, or says that it holds none.
// The document keeps its name. True when settings were taken.
bool takeEpsSettings(const std::string& path);
// Deselects the label's items and opens the print window for it.
void doPrint();

// ---- Script records -----------------------------------------------------------------------

// The records run one script at a time in the command-line program `strixel`
// (beside this program, else on PATH), in the folder given, so that a script
// runs exactly as it does on the command line and cannot disturb the label
// open here. A failure is shown when its run ends. A quit from outside waits
// until the scripts before it have run.
void runScriptRecords(const std::string& text, const std::string& folder,
                      const std::string& source);
// Tests: the command-line program to run (empty: the one found).
void setScriptProgram(const std::string& path);
// Scripts waiting or running, or whose failure is still to be shown.
size_t scriptsPending();
