// Output files: naming a symbol's file and writing a vector document into it.
#pragma once

#include <cstdint>
#include <string>

// The file name the current symbol gets: the code-type name or title, the
// printed data and add-on, made safe for a file system, with the extension of
// the output kind when fileTyp is 1.
std::string NewFileName();
// Writes the current symbol (or sheet) as a vector file named by the naming mode.
// The document is written beside its final name and moved there only when it is
// whole, so a failure leaves no partial file. 1 written, 0 not (reported).
int32_t SetUpFiles(int32_t yPos);
