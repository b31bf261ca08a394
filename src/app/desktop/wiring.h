// Puts the desktop program together: every window's installer registers its
// loop handlers and start-up steps here.
#pragma once

void wireDesktop();
// The same, with the command line the program was started with: documents,
// --print and --script requests are handed to the copy already running or
// queued for this one when it starts.
void wireDesktop(int argc, char** argv);

// Undoes the joins between the windows (their hooks into each other), so that a
// test of one window after a wired start sees that window alone again. The loop
// handlers go with resetEventLoop().
void unwireDesktop();
