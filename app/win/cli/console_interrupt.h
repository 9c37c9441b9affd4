// Ctrl+C, Ctrl+Break and the console closing, for the command-line tool:
// each asks the run to stop after the host call under way (see
// app/cli/interrupt_gate.h). When the console closes, Windows ends the
// process as soon as the handler returns, and allows it only a few seconds:
// the handler waits, within that, until the tool has closed its documents
// and given Solid Edge its settings back.
#pragma once

#include <windows.h>

#include "app/cli/interrupt_gate.h"

namespace tav::app::win {

class ConsoleInterrupt {
  public:
    explicit ConsoleInterrupt(cli::InterruptGate& gate);
    ~ConsoleInterrupt();
    ConsoleInterrupt(const ConsoleInterrupt&) = delete;
    ConsoleInterrupt& operator=(const ConsoleInterrupt&) = delete;

    // The tool has tidied up: a closing console may end the process now.
    void tidiedUp();

  private:
    static BOOL WINAPI onControl(DWORD event);
};

}  // namespace tav::app::win
