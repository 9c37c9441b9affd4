// The probe's walk: it attaches to the running Solid Edge as the tool does
// and goes through the open Draft the way the tool does, reading only
// (property gets, collection items, the colour query, type information;
// never a put and no other method), and writes down for every kind of object
// the tool meets what Solid Edge declares and answers (host/types/
// probe_report.h). Where the drawing has no object of a kind, the kind is
// reported as not met. Names of documents, files and parts are never read
// into the report: only types, ids and VARIANT types.
#pragma once

#include <string>

#include "host/com/call_watch.h"
#include "host/types/probe_report.h"

namespace tav::probe {

// Raises nothing: what could not be read is in the report's problems. When
// no Solid Edge runs, the report says so and holds no kind.
hosttypes::ProbeReport probeHost(com::CallWatch& calls, const std::string& probeVersion);

}  // namespace tav::probe
