// The program's icon: a white label holding a QR Code of the program's name,
// made by the program's own encoder, as PNG at any size and as SVG. The build
// draws it into the sizes the desktop's icon theme asks for.
#pragma once

#include <string>

bool writeIconPng(const std::string& path, int size, std::string* error);
bool writeIconSvg(const std::string& path, std::string* error);
