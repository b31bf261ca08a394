#include "labels/labelDoc.h"

LabelSheet labelBack;

void resetLabelDocument() { labelBack = LabelSheet{}; }
