#include "labels/printState.h"

PrintRunState gPrint;
