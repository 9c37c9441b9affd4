// Every host call of the command-line tool passes through a gate.
//
// Ctrl+C, Ctrl+Break or the console closing stop the command-line tool after
// the host call under way. The tool's objects are wrapped so that the first
// call to start after an interrupt raises Interrupted instead of reaching
// the host (the call under way ends normally and its result is kept, so a
// document just opened can still be closed). No tolerant step absorbs it:
// they take only host errors. The calls that tidy up afterwards (closing a
// document, restoring the settings) go through.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>

#include "host/error.h"
#include "host/value.h"

namespace tav::cli {

class Interrupted : public std::exception {
  public:
    const char* what() const noexcept override { return "interrupted"; }
};

class InterruptGate {
  public:
    // From any thread (a console control handler runs on its own).
    void request() { requested_.store(true); }
    bool requested() const { return requested_.load(); }
    // For tests: the interrupt arrives just before host call `callNumber`
    // (1-based, counted through this gate).
    void requestBeforeCall(std::int32_t callNumber) { requestAtCall_ = callNumber; }

    // `object` with every object reached through it passing through the gate.
    host::ObjectRef guard(host::ObjectRef object);

    // Called before each host call by the guarded objects: raises
    // Interrupted once, for the first call after an interrupt.
    void beforeCall();
    // Called with each host call's error by the guarded objects.
    void callFailed(const host::AutomationError& error);

    // Whether a call failed because Solid Edge's process is gone. Tolerant
    // steps absorb such failures like any other, so a run that seems to
    // have gone through asks here before it counts as done.
    bool hostGone() const { return hostGone_; }

  private:
    std::atomic<bool> requested_{false};
    bool raised_ = false;
    bool hostGone_ = false;
    std::int32_t calls_ = 0;
    std::int32_t requestAtCall_ = 0;
};

}  // namespace tav::cli
