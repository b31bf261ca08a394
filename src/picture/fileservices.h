// What the picture driver shares with the output files: the units of a symbol's
// picture frame, and failure messages that carry their reason.
#pragma once

#include <cstdint>
#include <string>

// A file that could not be written whole.
constexpr uint16_t kMsgWriteIncomplete = 1420;

// Message n, followed by the file layer's reason for the last failure.
void reportFileFailure(uint16_t n);
// Message n followed by the reason given.
void reportFailureText(uint16_t n, std::string why);
// Units per inch of the current symbol's picture frame: points on a label,
// hundredths of a millimetre for a single symbol.
double pictureUnitsPerInch();
