// The main window's handlers: start-up against the host, the three buttons,
// closing from the frame, and the shutdown every way out of the tool's own
// code ends in.
#pragma once

#include "app/main_window.h"
#include "app/program_end.h"
#include "engine/engine_state.h"
#include "host/host_connector.h"

namespace tav::app {

class Form1 {
  public:
    Form1(host::HostConnector& connector, MainWindow& window, ProgramExit& exit);

    // Start-up: attaches to the running host and checks that a draft with
    // drawing views is active. True when the window may appear; otherwise
    // the user was told why and the program has ended.
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
    // True while the window waits for the user: started, not ended, no run.
    bool idle() const { return !ended() && !runInProgress_; }
    const engine::EngineState& engineState() const { return state_; }

  private:
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
    engine::EngineState state_;
    ProgramEnd end_ = ProgramEnd::running;
    bool runInProgress_ = false;
};

}  // namespace tav::app
