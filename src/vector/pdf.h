// The PDF 1.4 container of dialect 1115: objects, content length, fonts and the
// cross-reference table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PdfState {
    // File positions: [0] content length, [1] end of content, [2] object 1,
    // [3]-[5] objects 2 to 4, [6] the "stream" line, [7] object 6 (the fonts).
    int32_t p1[8] = {};
    int32_t contentStart = 0;
    bool macOnlyCodes = false;  // text used a code PDF's MacRomanEncoding reads otherwise
    // The page names its colour spaces (object 7, the fonts after it) when a
    // symbol on it may paint in a spot colour: known before the page is written.
    bool spotSpaces = false;
    struct Spot {
        std::string name;
        int32_t c, m, y, k;  // the process equivalent, percent
    };
    std::vector<Spot> spots;  // /CS0, /CS1, ... in the order first painted
};
extern PdfState gPdfDoc;

// The free entry and objects 1 to 6 (6: the font resources); each font follows
// as an object of its own.
constexpr int32_t kPdfFixedObjects = 7;

// The number of the page's colour space resource named /CS<n> that paints the
// spot colour `name` (a Pascal string), with the process equivalent it was first
// met with, or -1 when the page has no colour spaces (the process colour paints).
int32_t pdfSpotSpace(const unsigned char* name, int32_t c, int32_t m, int32_t y, int32_t k);
// The name as a PDF name object: "/" and the bytes, "#xx" for delimiters,
// blanks, '#' and bytes outside printable ASCII.
std::string pdfName(const std::string& bytes);

// Objects 1 to 3 and the head of the content stream, after "%PDF-1.4".
void pdfStart(int32_t right, int32_t bottom);
// Around the page content.
void pdfContentStart();
void pdfContentEnd();
// Notes the Mac OS Roman bytes of a text run that the fonts must name (see pdfTail).
void pdfNoteText(const unsigned char* text, size_t count);
// The end of the stream, its length, the font resources, the table and trailer.
void pdfTail();
