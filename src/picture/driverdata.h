// The production data the picture driver fills into items before it draws them
// (import records, print-time answers, personal data fields), and the symbol
// that is too low for bars and is shown as its data in plain text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "labels/production.h"
#include "platform/quickdraw/quickdraw.h"

// The data of an import or print-time item: the text after a '|' becomes the
// add-on; with the item's data length set, the data is right-aligned to it.
void fitItemData(const std::string& text);

// The label's preview shows the first record of the document's import file;
// a file that cannot be opened leaves the last record in place.
void readPreviewImportRecord();

// One record of an import file, its fields as GetImportItems reads them.
struct ImportedRecord {
    ImportRecord fields = {};
    int32_t line = 0;      // of the import file, from 1: where a fault of the record is
    bool foreign = false;  // a field is no UTF-8 (qrencode::gQROrigin while it is used)
};
// The first `count` records of the document's import file that are not blank,
// in order, read by the import mode of the label's first import item; fewer
// when the file ends first. false after a message: the file cannot be opened,
// or a record cannot be read as it stands (a character the program lacks, a
// field cut short).
bool readDocumentImportRecords(int32_t count, std::vector<ImportedRecord>* records);
// True when a text or barcode item of the label takes its data from the import file.
bool labelHasImportItem();

// The personal data field named by the item (gItName) replaces the data of item
// i: a logo for a picture item, the text for a text or barcode item. A field the
// file does not hold, or a file that cannot be read, leaves the item as it is.
void fillPersonalField(int32_t i, uint16_t kind);

// Asks the print-time question of item i; the answer becomes its data. false
// when the user cancelled, which ends the job.
bool askPrintTime(int32_t i);

// A symbol lower than the bars need (0 < Hei <= 2 mm), unless its code type
// draws short bars anyway (4-state and 2-D codes), is shown as plain text.
bool plainTextSymbol();
// A plain text without a size of its own takes the default size, in points;
// given before a printer's scale, it is scaled with the item.
void givePlainTextSize();
// Sets the plain text's font and returns its width in points.
int32_t plainTextWidth();
// Draws the current data as plain text at r's top-left; r becomes its box.
void drawPlainTextSymbol(qd::Rect* r);

// On the screen, an import item shows the current record (label mode with an
// import file), else its template; the data is then fitted as above.
void previewImportData(int32_t i, bool label);
