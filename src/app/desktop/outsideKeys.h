// The keys of the preview and of the answer windows, and the tool tips, as the
// event loop routes them.
#pragma once

// Registers "doKeyDisp", "doAnswerKeys" and "CheckStickyWins".
void installOutsideKeys();
