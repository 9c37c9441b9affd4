// A scene file that cannot be used. what() is one line:
// "FILE: JSON.PATH: what is wrong" (or "FILE: line L, column C: ..." for a
// file that is not valid JSON).
#pragma once

#include <stdexcept>
#include <string>

namespace tav::sim {

class SceneError : public std::runtime_error {
  public:
    explicit SceneError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tav::sim
