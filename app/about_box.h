// The about box: the tool's name, version and three usage texts.
#pragma once

#include <string>

#include "tav_version.h"

namespace tav::app {

inline constexpr std::u16string_view applicationTitle = u"Tavrelmondix";

struct Version {
    int major;
    int minor;
    int revision;
};
inline constexpr Version version{TAV_VERSION_MAJOR, TAV_VERSION_MINOR, TAV_VERSION_REVISION};
// "3.4.1"
std::u16string versionText();

struct AboutBoxText {
    std::u16string title;        // "About Tavrelmondix"
    std::u16string appTitle;     // beside the icon, in black
    std::u16string versionLine;  // "Version 3.4.1"
    std::u16string description;  // the first description, in black
    std::u16string description2;
    std::u16string description3;
};

// The texts as the box sets them when it is loaded.
AboutBoxText loadAboutBox();

}  // namespace tav::app
