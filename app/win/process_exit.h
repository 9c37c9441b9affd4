// How tavrelmondix.exe ends: the process ends at once, where it stands.
//
// No destructor runs afterwards. The tool has given every host reference
// back by then (Form1 does, however the program ends); what the COM
// connection itself keeps goes next, and then the thread leaves COM, so that
// Solid Edge sees every release before the process is gone instead of
// holding the objects until COM's ping time-out notices it (minutes). All
// those releases share one bound: a Solid Edge busy with a dialog rejects
// them, and the program must not wait for it once per reference.
#pragma once

#include <windows.h>

#include <optional>

#include "app/program_end.h"
#include "host/com/apartment.h"
#include "host/com/com_connector.h"

namespace tav::app::win {

class ProcessExit final : public ProgramExit {
  public:
    ProcessExit(com::ComConnector& connector, com::Apartment& apartment)
        : connector_(connector), apartment_(apartment) {}

    void endingBegins() override {
        if (!finalReleases_) {
            finalReleases_.emplace(apartment_.calls());
        }
    }

    // Exit status 1 after an error ended the run, else 0.
    void endProgram(ProgramEnd how) override {
        connector_.releaseKept();
        apartment_.leave();
        ExitProcess(how == ProgramEnd::fatal ? 1u : 0u);
    }

  private:
    com::ComConnector& connector_;
    com::Apartment& apartment_;
    std::optional<com::CallWatch::SharedBound> finalReleases_;
};

}  // namespace tav::app::win
