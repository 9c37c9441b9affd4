#include "probe/report_location.h"

#include <windows.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "platform/win/program_folder.h"

namespace tav::probe {
namespace {

// Whole or not at all: written beside the file, then moved over it.
bool writeWhole(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::path partial = file;
    partial += L".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out || !(out << text) || !out.flush()) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            return false;
        }
    }
    if (!MoveFileExW(partial.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        return false;
    }
    return true;
}

}  // namespace

std::filesystem::path writeReport(const hosttypes::ProbeReport& report,
                                  const std::filesystem::path& wanted) {
    std::ostringstream text;
    hosttypes::writeProbeReport(text, report);
    std::vector<std::filesystem::path> places;
    if (!wanted.empty()) {
        places.push_back(wanted);
    } else {
        places.push_back(platform::programFolder() / reportFileName);
        std::error_code noTemp;
        const std::filesystem::path temp = std::filesystem::temp_directory_path(noTemp);
        if (!noTemp) {
            places.push_back(temp / reportFileName);
        }
    }
    for (const std::filesystem::path& place : places) {
        if (writeWhole(place, text.str())) {
            return place;
        }
    }
    throw std::runtime_error("the report could not be written to " + places.front().string() +
                             (places.size() > 1 ? " nor to the temporary folder" : ""));
}

}  // namespace tav::probe
