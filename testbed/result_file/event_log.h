// The events of a session as the result file writes them, kept in the order
// they happened until the file is written. The file names the end and the
// final state before the events, so they wait; on a drawing of tens of
// thousands of parts they outnumber everything else the harness holds, so
// they wait as text on a temporary file (in memory where the system gives
// none) rather than as objects.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>

#include "testbed/result_file/outcome.h"

namespace tav::result {

class EventLog {
  public:
    // Whether host events carry their host call number ("call"): only the
    // host's part written by an out-of-process host does.
    enum class CallNumbers { omitted, written };

    explicit EventLog(CallNumbers callNumbers = CallNumbers::omitted);

    void add(const Event& event);
    std::size_t size() const { return size_; }

    // Writes the events as the value of a result file's "events" field.
    void writeArray(std::ostream& out) const;

  private:
    void append(const std::string& text);

    CallNumbers callNumbers_;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> spool_;
    std::string inMemory_;  // when no temporary file could be made
    std::string text_;      // the event being added, reused
    std::size_t size_ = 0;
};

}  // namespace tav::result
