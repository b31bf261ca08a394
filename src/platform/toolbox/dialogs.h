// Starting the desktop and the services it gives the program: the file
// choosers behind platform/desktop.h's dialogs, opening a link or a document
// with the desktop's program, showing a file in the file manager, coming to
// the front.
#pragma once

#include <string>

namespace toolbox {

// Starts the desktop for the program (argc and argv as main got them): Qt, the
// system clipboard, the file choosers, the question and message windows and
// the file manager. Tests leave the choosers and questions to their scripts
// and call UseSystemClipboard alone.
void StartToolbox(int* argc, char** argv);

// The desktop's file choosers answer platform::PutFileDialog, GetFileDialog
// and SelectExistingFolder from now on.
void UseDesktopFileDialogs();

// Opens a link or a file (a PDF, say) with the desktop's program; false when
// the desktop has none.
bool OpenURL(const std::string& url);
bool OpenDocument(const std::string& posixPath);
// Selects a file in the file manager, or opens its folder when the file
// manager cannot select.
void RevealFile(const std::string& posixPath);
// Brings the program's front window to the front of the desktop.
void BringProgramToFront();

}  // namespace toolbox
