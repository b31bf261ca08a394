#include "app/desktop/outsideKeys.h"

void installOutsideKeys() {}
