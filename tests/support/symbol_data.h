// Data as the data split leaves it for the encoders.
#pragma once

#include <string>

namespace testsupport {

// Main data and add-on, each with its printed copy and length.
void setSymbolData(const std::string& main, const std::string& addOn = "");

// The options line an EPS file of the present settings carries.
std::string writtenOptionsLine();

}  // namespace testsupport
