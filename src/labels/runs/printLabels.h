// Printing the open label on sheets: the print job (resolution, pages), and the
// walk over the sheet's label cells from a start cell, one label drawn by the
// picture driver per cell. The same walk draws the print window's page picture
// and feeds a thermal printer back end.
#pragma once

#include <cstdint>
#include <string>

#include "labels/printState.h"
#include "platform/printing/printing.h"
#include "platform/quickdraw/quickdraw.h"

// Mode 1 prints on the printer; the print dialog first. A printing-system error
// is shown with its status. Returns the status (0 printed, 128 cancelled).
int32_t PrintLabels(int32_t mode);

// Shows a printing-system status to the user, with what it concerned when known.
void doErrorAlert(int32_t status, const std::string& detail = {});

// The job itself: resolution, document, pages. The printing system's status.
int32_t doPrinting(int32_t mode, print::PrintSettings settings, print::PageFormat format);
// Mode 0 draws the page picture into Pict2, mode 1 into the session's pages,
// mode 2 drives the thermal back end. 1 when nothing may be printed: an import
// or separate file cannot be opened (after message 34), an import template or
// record cannot be used, the import file holds no record for the first label,
// a print-time question went unanswered, or the press export failed; else 0.
// In mode 1 a page the session refuses ends the run; its status is in
// session->status().
int32_t PrintLabels2(int32_t mode, print::PrintSession* session);
// The cells the first page of a job holds from the start cell on, walked in the
// fill order: the sheet's cells less those skipped before the start cell.
int32_t firstPageCells();
// How far the label cells a job of gPrint.nLabels labels on at most
// gPrint.nPages pages prints on reach from the paper's corner, in points.
struct CellsReach {
    double right = 0, bottom = 0;
};
CellsReach printedCellsReach();
// The pages a job prints (at least 1).
int32_t doCalcNumberOfPages();
// 1 when Command-period is waiting (and taken); headless never.
int32_t cmddot();

void resetPrintRun();
