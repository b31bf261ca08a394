// The symbol made last, kept so that a symbol sized and then written is made
// once: the writer finds the settings and data it was made from unchanged and
// takes back what the encoder left instead of running it again.
#pragma once

// Keeps the symbol the encoder has just made from `settingsBefore` and
// `dataBefore` (the settings and data as they were before STRixel ran), when
// it is one whose making depends on nothing else.
struct SymbolSettings;
struct SymbolData;
void rememberSymbol(const SymbolSettings& settingsBefore, const SymbolData& dataBefore);

// True when the current settings and data are those the kept symbol was made
// from: the settings, data, element list and row state are then as STRixel
// and the room check would leave them. The symbol is kept for one use.
bool recallSymbol();

void forgetSymbol();
