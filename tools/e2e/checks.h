// The driver's verdicts: each check prints one line, and the driver fails
// when any check failed.
#pragma once

#include <string>

namespace tav::e2e {

class Checks {
  public:
    // Records `passed` for `what`; returns `passed`.
    bool expect(bool passed, const std::string& what);
    // Records a failure that stops the scenario (the window never came, the
    // program never ended).
    void fail(const std::string& what);
    void note(const std::string& what) const;

    int failures() const { return failures_; }
    int passes() const { return passes_; }

  private:
    int failures_ = 0;
    int passes_ = 0;
};

// "text" with the expected and the actual value, for a failed comparison.
std::string compared(const std::string& what, const std::string& expected,
                     const std::string& actual);

}  // namespace tav::e2e
