// The ways a server is asked to stop besides its program ending: standard
// input reaching end of file, and the console's Ctrl+C, Ctrl+Break or close.
// Each sets one event the serving loop waits on; a console close waits for
// the server to have finished before Windows ends the process.
#pragma once

#include <windows.h>

namespace tav::sehost {

class StopSignals {
  public:
    // `watchInput`: stop when standard input ends.
    explicit StopSignals(bool watchInput);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    HANDLE inputEnded() const { return inputEnded_; }
    HANDLE interrupted() const { return interrupted_; }
    // Lets a console handler that waits for the finish return.
    void finished();

  private:
    HANDLE inputEnded_;
    HANDLE interrupted_;
    HANDLE finished_;
};

}  // namespace tav::sehost
