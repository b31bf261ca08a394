// The label document's commands as the desktop runs them: the open and save
// dialogs, the progress window while a document is read or written, and the
// layout window's title. The shell's File commands call these.
#pragma once

#include <cstdint>
#include <string>

// New (File item 1): the import file forgotten, every item deleted, the
// document "Untitled", the preview closed; the sheet setup window then sets the
// label's size and calls openLayoutWindow.
void newLayoutDocument();
// Opens the layout window on the label in force, with the palettes.
void openLayoutWindow();
// Open (File item 2): asks for a label document, a template (opened as
// "Untitled") or an EPS file (its settings only). 1 when a document was
// loaded and its window opened; 0 when cancelled, refused (after a message) or
// only settings were taken.
int32_t openLayoutDocument();
// Save (mode 0, File item 3), Save As (1, item 4), save as a template (2): an
// unnamed document and modes 1 and 2 ask for a name. A template leaves the open
// document its name and its changes. With Option held the layout text export is
// written to the file instead. false when cancelled, not written (after a
// message) or exported as text.
bool saveLayoutDocument(int32_t mode);
// The name a document opened from path goes by: "Untitled" for a template, so
// that its first save asks for a name rather than writing over the template.
std::string openedDocumentName(const std::string& path);
// The window's title: the document's file name (in Mac OS Roman, '?' for a
// character it lacks), "Untitled" before it has one.
std::string layoutTitle();
// Gives the layout window (when open) that title.
void retitleLayoutWindow();
