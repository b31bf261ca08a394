// Sheet geometry for the sheet setup window: the ready-made label sheets of the
// templates file "Labels.tmp", and saved sheet formats (files of type 'LATE'
// holding one working copy).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "labels/labelDoc.h"

constexpr size_t kTemplateListMost = 16384;  // bytes of the window's list text
constexpr size_t kTemplateNameMost = 254;
constexpr size_t kSavedFormatBytes = 60;

struct SheetSetupState {
    int32_t currentSel = 0;     // the template chosen in the list, from 0
    std::string templatesPath;  // a templates file to read instead of the program's own
};
extern SheetSetupState gSheetSetup;

// Reads the templates text: appends one list line per template to *list (cut
// at kTemplateListMost bytes), and copies template `selected` into *chosen (the
// working-copy scale: lengths in thousandths of a tenth of a point). Returns the
// number of passes (templates + 1 when the text ends with a line break).
int32_t parseLabelTemplates(const std::string& text, int32_t selected, std::string* list,
                            LabelSheet* chosen);
// The same on the templates file, into labelBack2; -1 when there is no file. The
// flag is not used.
int32_t LoadLabelTemplates(std::string* buffer, int32_t flag);

// Writes labelBack2 as a saved format; 1 when written. An empty path is a
// cancelled dialog: 0, no message. A file that cannot be written: 0 after a
// message.
int32_t saveFormat(const std::string& path);
// Reads a saved format into labelBack2. A file of any length but 60 bytes is
// refused with a message and changes nothing. 1 when read.
int32_t loadSavedFormat(const std::string& path);
