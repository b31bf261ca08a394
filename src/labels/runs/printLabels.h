// Printing the open label on sheets: the print job (resolution, pages), and the
// walk over the sheet's label cells from a start cell, one label drawn by the
// picture driver per cell. The same walk draws the print window's page picture
// and feeds a thermal printer back end.
#pragma once

#include <cstdint>
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
};
extern PrintRunState gPrint;

// Mode 1 prints on the printer; the print dialog first. A printing-system error
// is shown with its status. Returns the status (0 printed, 128 cancelled).
int32_t PrintLabels(int32_t mode);

// Shows a printing-system status to the user, with what it concerned when known.
void doErrorAlert(int32_t status, const std::string& detail = {});

// The job itself: resolution, document, pages. The printing system's status.
int32_t doPrinting(int32_t mode, print::PrintSettings settings, print::PageFormat format);
// Mode 0 draws the page picture into Pict2, mode 1 into the session's pages,
// mode 2 drives the thermal back end. 1 when an import or separate file cannot
// be opened (after message 34) or the press export failed; else 0. In mode 1 a
// page the session refuses ends the run; its status is in session->status().
int32_t PrintLabels2(int32_t mode, print::PrintSession* session);
// The pages a job prints (at least 1).
int16_t doCalcNumberOfPages();
// 1 when Command-period is waiting (and taken); headless never.
int32_t cmddot();

void resetPrintRun();
