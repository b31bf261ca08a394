// Two small text formats of the label document: the layout text export (the
// label and its barcode and text items as tagged lines, lengths in millimetres,
// for other programs) and the tagged item block each item carries (its name and
// its data text).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Writes the export to channel 1, opened by the caller.
void SaveLayoutModeLabel();
// The export's text.
std::string layoutText();
// Writes the export as its own text file at path (never into a document). 0 when
// written, 1 after a message.
int32_t saveLayoutTextTo(const std::string& path);
// The name of the code type in the export.
std::string layoutTypeName(int32_t code, int32_t variation1);

// Rebuilds the item's tagged block from gItName and externalH.
void SetTaggedItem(int32_t index);
// Sets gItName from the item's tagged block; "Default" when the block names none.
void ProcessItemHandle(int32_t index);
// Reads the first tagged field of text: its tag letter (F, I, L, O, R or T) and
// value. false, leaving both alone, when the text holds none.
bool GetTaggedItem(std::string_view text, char* tag, std::string* value);
