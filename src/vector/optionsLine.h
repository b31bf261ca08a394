// The settings line of an EPS file: the symbol's type, size, height, bar width
// reduction, data and colours as a script record in a comment, so that the file
// can give its settings back.
#pragma once

#include "platform/files.h"

// Writes "%%Options: {...}" and a carriage return to the open file refNum.
void saveAutoFormatData(platform::FileRef refNum);
