// How tavrelmondix.exe ends: the process ends at once, where it stands.
//
// No destructor runs afterwards, so nothing gives the host references back
// behind the tool's back: the shutdown has released what it holds, and after
// a fatal error or a close from the frame the references go with the process,
// as they would with any program that ends at once.
#pragma once

#include <windows.h>

#include "app/program_end.h"

namespace tav::app::win {

class ProcessExit final : public ProgramExit {
  public:
    // Exit status 1 after an error ended the run, else 0.
    void endProgram(ProgramEnd how) override { ExitProcess(how == ProgramEnd::fatal ? 1u : 0u); }
};

}  // namespace tav::app::win
