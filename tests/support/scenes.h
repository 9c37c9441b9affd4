// Small scenes for tests, built as JSON so each test states only what it is
// about, and ways to read a session's outcome.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/sim/scene.h"
#include "tools/harness/session.h"

namespace tav::test {

using nlohmann::json;

// One draft D1 whose sheet holds the view V1 of the assembly A1, with the
// given top-level occurrences of A1 and root children of V1's members. Tests
// adjust the returned JSON before running it.
json drawingScene(json occurrences, json rootChildren);

sim::Scene sceneFrom(const json& scene);

// A JSON file of the test data (a scene, a result, a list of cases).
json readJson(const std::string& path);

harness::SessionOutcome run(const json& scene, const std::string& actions = "process");

// The events of an outcome in result-file form, optionally only those of
// one kind ("ui" or "host").
std::vector<json> eventsOf(const harness::SessionOutcome& outcome, const std::string& kind = "");

// Captions set on one control, in order.
std::vector<std::string> captionsOf(const harness::SessionOutcome& outcome,
                                    const std::string& control);

// Message box texts, in order.
std::vector<std::string> messagesOf(const harness::SessionOutcome& outcome);

// The final style names of a member, by id: "visible|hidden|tangent".
std::string stylesOf(const harness::SessionOutcome& outcome, const std::string& memberId);

// Names of the line styles the run created, in collection order.
std::vector<std::string> createdStyles(const harness::SessionOutcome& outcome);

}  // namespace tav::test
