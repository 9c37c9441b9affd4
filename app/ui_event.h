// What a user sees change in the tool's windows, as the recording window
// reports it.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace tav::app {

struct CaptionChanged {
    std::string control;  // "lblVista" or "lblPieza"
    std::u16string text;
};

struct ProgressChanged {
    std::string property;  // "min", "max" or "value"
    float value = 0.0f;
};

struct Repainted {};

struct MessageShown {
    std::u16string title;
    std::u16string text;
};

struct AboutShown {
    std::u16string title;
    std::u16string version;
};

using UiEvent = std::variant<CaptionChanged, ProgressChanged, Repainted, MessageShown, AboutShown>;

}  // namespace tav::app
