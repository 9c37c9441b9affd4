// What the figures were measured on, for the line above the tables.
#pragma once

#include <string>

namespace tav::benchcom {

// The processor, its count of logical processors and, under Wine, Wine's
// version: "Intel(R) Xeon(R) ..., 2 processors, Wine 8.0".
std::string machineDescription();

}  // namespace tav::benchcom
