// The main window's handlers: start-up against the host, the three buttons,
// closing from the frame, and the shutdown every way out of the tool's own
// code ends in.
#pragma once

#include <functional>
#include <string_view>

#include "app/main_window.h"
#include "app/program_end.h"
#include "engine/engine_state.h"
#include "host/host_connector.h"

namespace tav::app {

// Where start-up says which of its steps failed, and with which error number:
// one line per failing step, for whoever helps the user (the user sees
// nothing of it). The Windows program writes the lines to the debugger's
// output; the harness and most tests pass none.
using StartUpDiagnostics = std::function<void(std::u16string_view line)>;

// The main window's lifecycle, whatever draws the window: start-up attaches
// to the running Solid Edge and refuses a document it cannot work on; the
// window's events (Process, Exit, Help, the frame's close control) are acted
// on only while it waits for the user; and every way out gives the host its
// references back and ends the program, through the shutdown (which also
// lets Solid Edge work interactively again) after Exit, a completed run or a
// refusal. Holds the engine state for the life of the program. The Windows
// program, the harness and the tests drive it alike, each with its own
// window and exit.
class Form1 {
  public:
    Form1(host::HostConnector& connector, MainWindow& window, ProgramExit& exit,
          StartUpDiagnostics diagnostics = {});

    // Start-up: attaches to the running host and checks that a draft with
    // drawing views is active. True when the window may appear; otherwise
    // the user was told why and the program has ended. Until it returns true
    // the form is not idle: a click or a close that the window delivers
    // meanwhile (it dispatches messages while a host call is out) is dropped.
    bool Form_Load();

    // Process: the whole run, then the end of the program.
    void cmdAccept_Click();
    // Exit.
    void cmdCancel_Click();
    // Help: the about box, modally.
    void cmdHelp_Click();
    // The frame's close control: ends without the shutdown steps. Refused
    // (false) while a run is in progress: a window that keeps taking messages
    // while the host works must not end the program half-way through a run.
    bool closeFromFrame();

    ProgramEnd programEnd() const { return end_; }
    bool ended() const { return end_ != ProgramEnd::running; }
    // True from the Process click until the run has ended the program. The
    // window acts on no input meanwhile.
    bool runInProgress() const { return runInProgress_; }
    // True while the window waits for the user: started up, not ended, no run.
    bool idle() const { return !startingUp_ && !ended() && !runInProgress_; }
    const engine::EngineState& engineState() const { return state_; }

  private:
    // One tolerated step of start-up, named for the diagnostics, which hear
    // of its failure. True when the step ran through.
    template <class Step>
    bool startUpStep(std::u16string_view name, Step&& step);
    void refuse(std::u16string_view message);
    // Shutdown: empties the tables, gives every host reference back, lets the
    // host work interactively again, and ends the program.
    void my_end(ProgramEnd reason);
    // The current view, the assembly and the draft, in that order.
    void releaseDocuments();
    // Empties the run tables and releases every host reference the window holds.
    void releaseHostReferences();
    void endProgram(ProgramEnd reason);

    host::HostConnector& connector_;
    MainWindow& window_;
    ProgramExit& exit_;
    StartUpDiagnostics diagnostics_;
    engine::EngineState state_;
    ProgramEnd end_ = ProgramEnd::running;
    bool startingUp_ = true;
    bool runInProgress_ = false;
};

}  // namespace tav::app
