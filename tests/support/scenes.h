// Small scenes for tests, built as JSON so each test states only what it is
// about, and ways to read a session's outcome.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/sim/scene.h"
#include "testbed/harness_session/session.h"

namespace tav::test {

using nlohmann::json;

// One draft D1 whose sheet holds the view V1 of the assembly A1, with the
// given top-level occurrences of A1 and root children of V1's members. Tests
// adjust the returned JSON before running it.
//
// The lists are vectors, not JSON values: `{member(...)}` is then a list of
// one member with every compiler, where a JSON parameter would be the member
// itself with some (list-initialisation from a single value of the same type).
json drawingScene(std::vector<json> occurrences, std::vector<json> rootChildren);

sim::Scene sceneFrom(const json& scene);

// A JSON file of the test data (a scene, a result, a list of cases).
json readJson(const std::string& path);

session::SessionOutcome run(const json& scene, const std::string& actions = "process");

// The events of an outcome in result-file form, optionally only those of
// one kind ("ui" or "host").
std::vector<json> eventsOf(const result::Outcome& outcome, const std::string& kind = "");

// Captions set on one control, in order.
std::vector<std::string> captionsOf(const session::SessionOutcome& outcome,
                                    const std::string& control);

// Message box texts, in order.
std::vector<std::string> messagesOf(const session::SessionOutcome& outcome);

// The final style names of a member, by id: "visible|hidden|tangent".
std::string stylesOf(const session::SessionOutcome& outcome, const std::string& memberId);

// Names of the line styles the run created, in collection order.
using session::createdStyles;

}  // namespace tav::test
