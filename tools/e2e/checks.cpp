#include "tools/e2e/checks.h"

#include <cstdio>

namespace tav::e2e {

bool Checks::expect(bool passed, const std::string& what) {
    std::printf("%s %s\n", passed ? "ok  " : "FAIL", what.c_str());
    std::fflush(stdout);
    (passed ? passes_ : failures_) += 1;
    return passed;
}

void Checks::fail(const std::string& what) {
    expect(false, what);
}

void Checks::note(const std::string& what) const {
    std::printf("     %s\n", what.c_str());
    std::fflush(stdout);
}

std::string compared(const std::string& what, const std::string& expected,
                     const std::string& actual) {
    if (expected == actual) {
        return what + ": " + actual;
    }
    return what + ": expected " + expected + ", got " + actual;
}

}  // namespace tav::e2e
