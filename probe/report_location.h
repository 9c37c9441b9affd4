// Where the probe writes its report: beside the program, where a user finds
// it; where that folder cannot be written (Program Files, a read-only
// share), in the user's temporary folder.
#pragma once

#include <filesystem>
#include <string>

#include "host/types/probe_report.h"

namespace tav::probe {

inline constexpr wchar_t reportFileName[] = L"tavrelmondix-probe-report.json";

// Writes the report whole, to `wanted` when given, else beside the program,
// else to %TEMP%. Returns where it went; raises std::runtime_error when it
// could be written nowhere.
std::filesystem::path writeReport(const hosttypes::ProbeReport& report,
                                  const std::filesystem::path& wanted);

}  // namespace tav::probe
