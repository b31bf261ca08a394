#include "app/world.h"

#include "app/customTypes.h"
#include "app/layoutGeometry.h"
#include "app/preferences.h"
#include "app/scanner.h"
#include "app/shell.h"
#include "databar/RSSENC.h"
#include "labels/labelDoc.h"
#include "labels/printDefaults.h"
#include "labels/runs/printLabels.h"
#include "labels/runs/printWindow.h"
#include "labels/production.h"
#include "picture/PICout2.h"
#include "picture/outputstate.h"
#include "picture/services.h"
#include "picture/textitems.h"
#include "platform/desktop.h"
#include "platform/numbers.h"
#include "platform/questions.h"
#include "symbology/state.h"
#include "vector/blocks.h"
#include "vector/shapes.h"
#include "vector/sink.h"
#include "vector/textruns.h"

void resetWorld() {
    resetSymbology();
    resetDataBarState();
    resetLabelDocument();
    resetProduction();
    resetPrintDefaults();
    resetPrintRun();
    resetPrintWindow();
    resetVectorState();
    resetShapeState();
    resetBlockState();
    resetTextRunState();
    resetPictureServices();
    resetPictureOutput();
    resetTextItems();
    resetPictureDriver();
    platform::resetDesktop();
    platform::resetBeeps();
    platform::resetQuestions();
    resetPreferences();
    resetCustomMenu();
    resetScanner();
    resetShell();
    resetLayoutView();
}
