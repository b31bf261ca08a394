#include "labels/production.h"

ProductionSettings gProd;

void resetProduction() { gProd = ProductionSettings{}; }
