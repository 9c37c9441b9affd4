// The ways a server is asked to stop besides its program ending: standard
// input reaching end of file, and the console's Ctrl+C, Ctrl+Break or close.
// Each sets one event the serving loop waits on; a console close waits for
// the server to have finished before Windows ends the process.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/win/unique_resource.h"

namespace tav::sehost {

class StopSignals {
  public:
    // `watchInput`: stop when standard input ends.
    explicit StopSignals(bool watchInput);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    HANDLE inputEnded() const { return inputEnded_->get(); }
    HANDLE interrupted() const { return interrupted_.get(); }
    // Lets a console handler that waits for the finish return.
    void finished();

  private:
    // Shared with the thread that reads the input, which may set it after
    // the server has gone (it blocks in its read for the life of the process).
    std::shared_ptr<const platform::UniqueHandle> inputEnded_;
    platform::UniqueHandle interrupted_;
    platform::UniqueHandle finished_;
};

}  // namespace tav::sehost
