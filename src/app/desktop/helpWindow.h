// The help window (the program's own HTML pages in a text browser, with a
// check box that keeps the page showing at start-up) and the links that open in
// the user's browser.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The address of the help's start page.
std::string helpPageAddress();

// The help window's call-back: 1 the check box was ticked, 2 unticked.
using HelpCallback = int32_t (*)(int32_t command);
// Makes the help window's controller (the window shows once a page loads).
int32_t initializeCocoa(HelpCallback callback);
int32_t orderWindowFront();
// Loads the page; keepShowing 1 ticks the check box first.
int32_t DisplayCocoaWebWindow(const std::string& address, int32_t keepShowing);
// The start-up call-back: 1 shows the help page at start-up (iBrow 0), 2 not.
int32_t handleCommand(int32_t command);
// Builds the controller, brings it front and loads the start page with the
// check box as iBrow says (Help menu).
void showHelpPage();
void closeHelpWindow();

// Opens an address in the user's browser (http, https, mailto and file only).
// Non-zero when it could not be opened.
int32_t CPURLHandlerLaunchURL(const std::string& url);
// Opens a document that lies beside the program; when it is not there, the
// manual's page of the help. Non-zero when nothing was opened.
int32_t CPURLHandlerLaunchPDF(const std::string& name);

// What opens addresses and documents outside the program (the desktop's
// browser; tests put a recorder here). Answers true when opened.
using LinkOpener = std::function<bool(const std::string& address)>;
void setLinkOpener(LinkOpener opener);  // null: the desktop's

// For tests: the help window's state.
struct HelpWindowView {
    bool open = false;     // a controller exists
    bool visible = false;  // its window shows
    bool checked = false;  // the start-up check box
    std::string source;    // the page shown
    std::string title;     // the page's title
};
HelpWindowView helpWindowView();
// Clicks the check box, follows a link of the page shown, closes with the button.
void clickHelpCheckBox();
void clickHelpLink(const std::string& href);
void clickHelpCloseButton();
