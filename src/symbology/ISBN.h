// Book, serial and music numbers: EAN-13 symbols with a hyphenated header line.
#pragma once

#include <cstdint>

// Check character and header text (chHeadCode, len3 the index of its 13). 0 when
// the header was written, 1 when a typed form does not fit the header (after a
// message).
int32_t genISBN();
int32_t genISSN();
int32_t genISMN13();
// Hyphenates `number`, 12 digits whose first three are the EAN prefix (a first
// digit '8' asks for the ISBN-10 form, without prefix), by the registration
// group and publisher ranges; 1 when a rule applied and the header was written.
int32_t hyphenate(const char* number, char check);
// Writes group, publisher, title and check character, joined by '-', behind
// the header prefix; 1.
int32_t isbnreplace(const char* number, int32_t groupLength, int32_t publisherLength, char check);
// With another text font than the default, the bar-font letter codes of the
// header become the plain letters.
void StringSortOut();
