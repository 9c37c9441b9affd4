// How the program ends, and who carries it out.
//
// The lifecycle decides *that* the program ends and why; the program's entry
// point decides *how*. The Windows program ends the process at once, without
// running destructors that would give the host's references back (the tool
// ends "at once" after a fatal error and in its shutdown); the harness and the
// tests record the end and return to their caller.
#pragma once

namespace tav::app {

enum class ProgramEnd {
    running,   // still waiting for the user
    refused,   // start-up refused; the shutdown ran
    finished,  // Exit, or the end of a run
    fatal,     // an error ended the run
    closed,    // closed from the frame, without the shutdown
};

class ProgramExit {
  public:
    virtual ~ProgramExit() = default;
    // The program is about to end: the host's references go back next (with
    // the shutdown's last host calls), then endProgram. Over COM they then
    // wait for a busy host once, all together, instead of once each. May be
    // told more than once on the way out.
    virtual void endingBegins() {}
    // Ends the program for `how`. Every window has been closed already. The
    // Windows program does not return from here; a recording exit does.
    virtual void endProgram(ProgramEnd how) = 0;
};

// The exit of the harness and the tests: nothing to end, the lifecycle's own
// state says that the program has ended.
class RecordedExit final : public ProgramExit {
  public:
    void endProgram(ProgramEnd how) override { end_ = how; }
    ProgramEnd end() const { return end_; }

  private:
    ProgramEnd end_ = ProgramEnd::running;
};

}  // namespace tav::app
