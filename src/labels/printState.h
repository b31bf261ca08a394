// The print run's counters and switches. The run sets them; the picture driver
// and the label background read them while a label is drawn for a printer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/printing/printing.h"
#include "platform/quickdraw/quickdraw.h"

// The run counters and switches of printing.
struct PrintRunState {
    int32_t nLabels = 0;  // labels to print; 0: as many as the pages hold
    int32_t nPages = 1;
    int32_t iCopies = 1;
    int32_t iRepeats = 1;  // prints of each label
    int32_t nnLabels = 0;  // labels printed so far
    int32_t curLab = 0;
    int32_t currPage = 1;
    int32_t startX = 1, startY = 1;  // start cell: column and row from 1
    int32_t printForever = 0;        // continuous printing
    int32_t printScreen = 0;         // the print window is in use
    int32_t printLoop = 0;
    int32_t formsPrint = 0;
    int32_t thermalPrint = 0;
    int32_t thermalType = 0;
    int32_t rnLabels = 0;
    int32_t jobBatch = 0;
    int32_t laserWriter = 0;
    int32_t importCount = 0;  // "Import how many?"; 0: the whole file
    double thermScale = 1;    // printer dots per point; 1 when not printing
    int32_t gRunningOnX = 0;  // 1: the page range goes into the print settings
    int32_t gFirstPage = 1, gLastPage = 1, gCopies = 1;
    // Where jobs go (the script's "printer": a queue, or a .pdf or .ps file).
    print::PrintSettings destination;
    qd::Picture* Pict2 = nullptr;  // the print window's page picture
    qd::GWorldPtr therPrin = nullptr;
    int32_t lastStatus = 0;  // the printing system's status of the last job
    std::string lastDetail;  // and what it concerned (a file, a queue's reason)
    // The script's answer to every print-time question (Mac OS Roman); none:
    // the questions are asked.
    std::optional<std::string> printTimeAnswer;
    std::string note;  // what the last job did that nobody asked for (empty: nothing)
    // A serial item of the label just printed has counted past its end value.
    bool serialEnded = false;
    // The label (and import file line) a refused job stopped at; empty when none.
    std::string faultAt;
};
extern PrintRunState gPrint;
