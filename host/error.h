// Errors as the automation world reports them: a number and a description.
//
// Every failure the tool can meet while it drives the host is one of these:
// errors the host raises (the COM backend translates HRESULT and EXCEPINFO at
// its edge, the simulated host raises them directly) and the run-time errors
// the tool raises itself (a 16-bit count out of range, a value that is not a
// number, a call on an empty reference).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tav::host {

class AutomationError : public std::runtime_error {
  public:
    AutomationError(std::int32_t number, std::u16string description);

    std::int32_t number() const { return number_; }
    const std::u16string& description() const { return description_; }

  private:
    std::int32_t number_;
    std::u16string description_;
};

// Run-time errors, with the numbers users of automation macros know them
// by: those the tool raises itself, and those a host's dispatch failures
// stand for (host/com/automation_errors.h).
namespace runtime_error_number {
inline constexpr std::int32_t overflow = 6;
inline constexpr std::int32_t subscriptOutOfRange = 9;
inline constexpr std::int32_t typeMismatch = 13;
inline constexpr std::int32_t objectNotSet = 91;
inline constexpr std::int32_t objectRequired = 424;
inline constexpr std::int32_t memberNotSupported = 438;
inline constexpr std::int32_t argumentNotOptional = 449;
inline constexpr std::int32_t wrongNumberOfArguments = 450;
}  // namespace runtime_error_number

AutomationError overflowError();
AutomationError typeMismatchError();
// A call on an empty reference: it fails inside the tool and never reaches the host.
AutomationError objectNotSetError();
AutomationError objectRequiredError();
// A member or late-bound name the object does not have.
AutomationError memberNotSupportedError();

// An error number as an HRESULT is written: "0x80010001".
std::string hexNumberText(std::int32_t number);

// The generic failure number hosts use (E_FAIL).
inline constexpr std::int32_t hostFailureNumber = -2147467259;

// Whether a call failed because the host's process is gone (it ended or
// crashed, so its objects are disconnected): no later call can succeed.
bool isHostGoneNumber(std::int32_t number);

}  // namespace tav::host
