// tavrelmondix-compare EXPECTED.json ACTUAL.json
//
// Compares two result files of the same scene and actions (the in-process
// harness's and one over COM) field by field and event by event, and prints
// each difference. Exit status: 0 when they agree, 1 when they differ, 2 when
// a file cannot be read.
#include <iostream>
#include <stdexcept>

#include "testbed/result_file/result_compare.h"
#include "testbed/result_file/result_reader.h"

namespace {

bool readJson(const char* path, nlohmann::ordered_json& json) {
    try {
        json = tav::result::readJsonFile(path);
    } catch (const std::runtime_error& error) {
        std::cerr << "tavrelmondix-compare: " << error.what() << '\n';
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: tavrelmondix-compare EXPECTED.json ACTUAL.json\n";
        return 2;
    }
    nlohmann::ordered_json expected;
    nlohmann::ordered_json actual;
    if (!readJson(argv[1], expected) || !readJson(argv[2], actual)) {
        return 2;
    }
    const auto differences = tav::result::resultDifferences(expected, actual);
    for (const std::string& difference : differences) {
        std::cout << argv[2] << ": " << difference << '\n';
    }
    return differences.empty() ? 0 : 1;
}
