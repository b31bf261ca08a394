// Code types: display names, fixed lengths and the per-type text defaults.
#pragma once

#include <cstdint>

int32_t getCodeLen(int32_t c);
void getCodeEdit(int32_t c);
void SetCodeLen();
void GetCodeActualText();
void GetCodeText();
void copeWithCutMarks();

// The display name of (code, variation1) under the current settings, or nullptr
// when the variant has no name of its own (the name then stays as it was).
const char* codeTypeName(int32_t code, int32_t variation1);
