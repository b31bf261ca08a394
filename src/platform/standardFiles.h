// The standard descriptors at start-up.
#pragma once

namespace platform {

// A descriptor 0, 1 or 2 that the program's caller closed would go to the next
// file the program opens, and a message meant for standard error would be
// written into that file. Each closed one is taken by a stand-in on which its
// own use still fails, as it would have closed: standard input is opened for
// writing only, standard output and standard error for reading only, and the
// latter on /dev/full, so that a file opened again by its name (/dev/stdout)
// refuses its bytes instead of dropping them. Called first thing in main.
void takeClosedStandardDescriptors();

}  // namespace platform
