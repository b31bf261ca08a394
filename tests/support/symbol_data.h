// Data as the data split leaves it for the encoders.
#pragma once

#include <string>

namespace testsupport {

// Main data and add-on, each with its printed copy and length.
void setSymbolData(const std::string& main, const std::string& addOn = "");

}  // namespace testsupport
