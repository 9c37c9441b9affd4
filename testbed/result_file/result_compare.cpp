#include "testbed/result_file/result_compare.h"

#include <set>

#include "testbed/result_file/result_format.h"

namespace tav::result {
namespace {

using nlohmann::ordered_json;

void compareValues(const std::string& path, const ordered_json& expected,
                   const ordered_json& actual, std::vector<std::string>& differences) {
    if (expected.is_object() && actual.is_object()) {
        std::set<std::string> seen;
        for (const auto& [key, value] : expected.items()) {
            seen.insert(key);
            const std::string inner = path.empty() ? key : path + "." + key;
            if (!actual.contains(key)) {
                differences.push_back(inner + ": missing");
                continue;
            }
            compareValues(inner, value, actual.at(key), differences);
        }
        for (const auto& [key, value] : actual.items()) {
            if (seen.count(key) == 0) {
                differences.push_back((path.empty() ? key : path + "." + key) +
                                      ": not expected, got " + value.dump());
            }
        }
        return;
    }
    if (expected.is_array() && actual.is_array()) {
        for (std::size_t i = 0; i < expected.size() && i < actual.size(); ++i) {
            compareValues(path + "[" + std::to_string(i) + "]", expected[i], actual[i],
                          differences);
        }
        if (expected.size() != actual.size()) {
            differences.push_back(path + ": " + std::to_string(expected.size()) +
                                  " items expected, got " + std::to_string(actual.size()));
        }
        return;
    }
    if (expected != actual) {
        differences.push_back(path + ": expected " + expected.dump() + ", got " + actual.dump());
    }
}

}  // namespace

std::vector<std::string> resultDifferences(const ordered_json& expected,
                                           const ordered_json& actual) {
    ordered_json left = expected;
    ordered_json right = actual;
    // Only a host served over COM resolves names.
    left.erase(field::nameLookups);
    right.erase(field::nameLookups);
    std::vector<std::string> differences;
    // A host that rejected releases while busy still holds what they would
    // have given back: the tool held no more than that.
    if (right.contains(field::rejectedReleases)) {
        const auto rejected = right.at(field::rejectedReleases);
        right.erase(field::rejectedReleases);
        if (rejected.is_number_integer() && right.contains(field::heldReferences) &&
            right.at(field::heldReferences).is_number_integer()) {
            right[field::heldReferences] =
                right.at(field::heldReferences).get<std::int64_t>() - rejected.get<std::int64_t>();
        } else {
            differences.push_back(std::string(field::rejectedReleases) +
                                  ": not a count beside heldReferences");
        }
    }
    compareValues("", left, right, differences);
    return differences;
}

}  // namespace tav::result
