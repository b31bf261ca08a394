// Puts the desktop program together: every window's installer registers its
// loop handlers and start-up steps here.
#pragma once

void wireDesktop();
