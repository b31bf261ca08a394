// The symbol made last, kept so that a symbol sized and then written is made
// once: the writer finds the settings and data it was made from unchanged and
// takes back what the encoder left instead of running it again.
#pragma once

struct SymbolSettings;
struct SymbolData;

// Starts sizing a symbol: forgets the kept one and keeps the settings and data
// as they are before the encoder runs. The data returned is what sizing puts
// back; it stays as it is until the next call.
const SymbolData& beginSizing();

// Keeps the symbol the encoder has just made from what beginSizing kept, when
// it is one whose making depends on nothing else.
void rememberSymbol();

// True when the current settings and data are those the kept symbol was made
// from: the settings, data, element list and row state are then as STRixel
// and the room check would leave them. The symbol is kept for one use.
bool recallSymbol();

void forgetSymbol();
