// The program's own pictures, recorded by code the first time they are asked
// for: 141, the face of the main window's OK button (a tick and "OK").
#pragma once

#include <cstdint>

#include "platform/quickdraw/quickdraw.h"

constexpr int16_t kOkButtonPicture = 141;

// The picture, the program's to keep; null for an id the program has no picture for.
const qd::Picture* GetProgramPicture(int16_t id);
