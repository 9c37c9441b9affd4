#include "tools/bench/report_text.h"

#include <fstream>
#include <iomanip>
#include <sstream>

namespace tav::bench {

std::string fixed(double value, int decimals) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(decimals) << value;
    return text.str();
}

double mib(std::int64_t kib) {
    return static_cast<double>(kib) / 1024.0;
}

std::string machine() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    std::string model = "unknown processor";
    int cores = 0;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) == 0) {
            model = line.substr(line.find(':') + 2);
            ++cores;
        }
    }
    return model + ", " + std::to_string(cores) + " cores";
}

}  // namespace tav::bench
